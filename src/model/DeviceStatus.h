#pragma once

// What the device reported outside the channel blocks: its levels for the
// meters, its firmware version and whether its camera presets can be saved
// and loaded.

#include <array>
#include <cstdint>

namespace orvane {

struct DeviceStatus {
  std::array<std::uint8_t, 8> inputLevels{};
  std::array<std::uint8_t, 8> outputLevels{};
  std::array<std::uint8_t, 8> firmwareVersion{};
  // Whether the camera "Save" and "Load" buttons may be enabled.
  bool cameraSaveEnabled = false;
  bool cameraLoadEnabled = false;
};

}  // namespace orvane
