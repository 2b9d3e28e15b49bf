#pragma once

// What the device reported outside the channel blocks: its levels for the
// meters, its firmware version, and the flags that steer how its replies are
// taken (the connection check, level storing, the camera buttons).

#include <array>
#include <cstdint>

namespace orvane {

struct DeviceStatus {
  std::array<std::uint8_t, 8> inputLevels{};
  std::array<std::uint8_t, 8> outputLevels{};
  // On while connected; cleared when levels were stored, set again once the
  // meters have shown them, so a second level reply never overtakes the first.
  bool levelStoring = false;
  std::array<std::uint8_t, 8> firmwareVersion{};
  // Set while the first reply of a new connection is awaited: only the
  // connection check's answer is taken then.
  bool connectionCheckPending = false;
  // Whether the camera "Save" and "Load" buttons may be enabled.
  bool cameraSaveEnabled = false;
  bool cameraLoadEnabled = false;
  // An ID search of the RS-485 bus is running.
  bool idSearchRunning = false;
};

}  // namespace orvane
