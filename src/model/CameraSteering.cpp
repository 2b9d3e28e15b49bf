#include "model/CameraSteering.h"

#include <algorithm>
#include <array>

namespace orvane::CameraSteering {

namespace {

// Pelco-D: FF, address, command 1, command 2, data 1, data 2, checksum.
constexpr std::size_t kPelcoAddress = 1;
constexpr std::size_t kPelcoData1 = 4;
constexpr std::size_t kPelcoData2 = 5;
constexpr std::size_t kPelcoChecksum = 6;
// VISCA: 0x80 + address, ..., pan speed at 4, tilt speed (or memory number) at 5.
constexpr std::size_t kViscaHeader = 0;
constexpr std::uint8_t kViscaAddressBase = 0x80;
constexpr std::size_t kViscaPanSpeed = 4;
constexpr std::size_t kViscaTiltSpeed = 5;
constexpr std::size_t kViscaMemory = 5;
constexpr int kViscaTiltSpeedMax = 20;

constexpr std::array<int, 5> kViscaPanTilt = {0, 1, 2, 3, 13};  // up, down, left, right, stop

std::array<CameraMessage, CameraCommands::kMessages>& tableOf(CameraCommands& table,
                                                              CameraProtocol protocol) {
  return protocol == CameraProtocol::PelcoD ? table.pelco : table.visca;
}

void put(CameraMessage& message, std::size_t at, int value) {
  if (at < message.length) message.bytes[at] = static_cast<std::uint8_t>(value);
}

// The sum of address, commands and data, modulo 256.
void sealPelco(CameraMessage& message) {
  if (message.length <= kPelcoChecksum) return;
  int sum = 0;
  for (std::size_t i = kPelcoAddress; i < kPelcoChecksum; ++i) sum += message.bytes[i];
  message.bytes[kPelcoChecksum] = static_cast<std::uint8_t>(sum & 0xFF);
}

// Applies `patch` to a copy of the protocol's table and keeps the copy when
// it differs; Pelco-D checksums are recomputed on the way.
template <class Patch>
bool patchTable(CameraCommands& table, CameraProtocol protocol, Patch&& patch) {
  auto messages = tableOf(table, protocol);
  patch([&](int number) -> CameraMessage& { return messages[static_cast<std::size_t>(number)]; });
  if (protocol == CameraProtocol::PelcoD)
    for (CameraMessage& message : messages) sealPelco(message);
  auto& current = tableOf(table, protocol);
  const bool changed =
      !std::ranges::equal(messages, current, [](const CameraMessage& a, const CameraMessage& b) {
        return a.length == b.length && a.bytes == b.bytes;
      });
  if (changed) current = messages;
  return changed;
}

int clampTo(Range range, int value) {
  return std::clamp(value, range.min, range.max);
}

}  // namespace

CameraProtocol protocolOf(std::uint8_t protocolByte) {
  return protocolByte == 0 ? CameraProtocol::PelcoD : CameraProtocol::SonyVisca;
}

Ranges ranges(CameraProtocol protocol) {
  constexpr Range kPresets{1, 128};
  if (protocol == CameraProtocol::PelcoD) return {{1, 255}, {1, 64}, kPresets};
  return {{1, 7}, {1, 24}, kPresets};
}

Fields fields(const CameraCommands& table, CameraProtocol protocol) {
  const auto& up = table.message(protocol, 0).bytes;
  const auto& goTo = table.message(protocol, kGoToPreset).bytes;
  if (protocol == CameraProtocol::PelcoD) return {up[kPelcoAddress], up[kPelcoData2] + 1, goTo[kPelcoData2]};
  return {up[kViscaHeader] & 0x0F, up[kViscaPanSpeed], goTo[kViscaMemory] + 1};
}

bool setCameraId(CameraCommands& table, CameraProtocol protocol, int cameraId) {
  const int id = clampTo(ranges(protocol).cameraId, cameraId);
  return patchTable(table, protocol, [&](auto message) {
    for (int number = 0; number < CameraCommands::kMessages; ++number) {
      if (protocol == CameraProtocol::PelcoD)
        put(message(number), kPelcoAddress, id);
      else
        put(message(number), kViscaHeader, kViscaAddressBase + id);
    }
  });
}

bool setSpeed(CameraCommands& table, CameraProtocol protocol, int speed) {
  const int s = clampTo(ranges(protocol).speed, speed);
  return patchTable(table, protocol, [&](auto message) {
    if (protocol == CameraProtocol::PelcoD) {
      put(message(0), kPelcoData2, s - 1);  // tilt up, down
      put(message(1), kPelcoData2, s - 1);
      put(message(2), kPelcoData1, s - 1);  // pan left, right
      put(message(3), kPelcoData1, s - 1);
      return;
    }
    for (int number : kViscaPanTilt) {
      put(message(number), kViscaPanSpeed, s);
      put(message(number), kViscaTiltSpeed, std::min(s, kViscaTiltSpeedMax));
    }
  });
}

bool setPreset(CameraCommands& table, CameraProtocol protocol, int preset) {
  const int p = clampTo(ranges(protocol).preset, preset);
  return patchTable(table, protocol, [&](auto message) {
    for (int number : {kGoToPreset, kSetPreset}) {
      if (protocol == CameraProtocol::PelcoD)
        put(message(number), kPelcoData2, p);
      else
        put(message(number), kViscaMemory, p - 1);
    }
  });
}

std::optional<ButtonMessages> buttonMessages(Button button, CameraProtocol protocol) {
  const int press = static_cast<int>(button);
  if (protocol == CameraProtocol::PelcoD) return ButtonMessages{press, kPelcoStop};
  constexpr int kPanTiltStop = 13, kFocusStop = 14, kZoomStop = 15;
  switch (button) {
    case Button::Up:
    case Button::Down:
    case Button::Left:
    case Button::Right:
      return ButtonMessages{press, kPanTiltStop};
    case Button::FocusFar:
    case Button::FocusNear:
      return ButtonMessages{press, kFocusStop};
    case Button::ZoomWide:
    case Button::ZoomTele:
      return ButtonMessages{press, kZoomStop};
    default:
      return std::nullopt;
  }
}

std::vector<int> messagesToSend(CameraProtocol protocol, int number) {
  if (protocol == CameraProtocol::PelcoD && (number == kGoToPreset || number == kSetPreset))
    return {number, kPelcoStop};
  return {number};
}

}  // namespace orvane::CameraSteering
