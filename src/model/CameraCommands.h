#pragma once

// Ready-made camera messages that the device passes unchanged to a PTZ camera
// on its RS-485 camera port. The camera section of the settings patches the
// address, speed and preset into them; the table is never read from the device.

#include <array>
#include <cstdint>
#include <span>

namespace orvane {

enum class CameraProtocol : std::uint8_t { PelcoD = 0, SonyVisca = 1 };

struct CameraMessage {
  std::array<std::uint8_t, 9> bytes{};
  std::uint8_t length = 0;  // 0: the protocol has no message of this number

  std::span<const std::uint8_t> view() const { return {bytes.data(), length}; }
};

struct CameraCommands {
  static constexpr int kMessages = 16;  // message numbers 0..15

  std::array<CameraMessage, kMessages> pelco{};
  std::array<CameraMessage, kMessages> visca{};

  // The initial contents, addressed to camera 1.
  static CameraCommands defaults();

  const CameraMessage& message(CameraProtocol protocol, int number) const;
};

}  // namespace orvane
