#pragma once

// Function and system locks. Flags 0..31 lock functions of the working data
// (they travel with device programs); flags 32..47 lock device-wide
// operations. Bytes 48..53 keep the six password characters as last received
// from the device.

#include <array>
#include <cstdint>
#include <string>

namespace orvane {

namespace LockFlag {
inline constexpr int InputLabel = 0;
inline constexpr int InputMute = 1;
inline constexpr int InputDelay = 2;
inline constexpr int InputGain = 3;
inline constexpr int InputPolarity = 4;
inline constexpr int InputMainVolume = 5;
inline constexpr int MainFeedback = 6;
inline constexpr int Priority = 7;
inline constexpr int NoiseGate = 8;
inline constexpr int InputFeedback = 9;
inline constexpr int Matrix = 10;
inline constexpr int InputDynamics = 11;
inline constexpr int InputEq = 12;
inline constexpr int InputCrossover = 13;
inline constexpr int InputLink = 14;
inline constexpr int OutputLabel = 16;
inline constexpr int OutputMute = 17;
inline constexpr int OutputDelay = 18;
inline constexpr int OutputGain = 19;
inline constexpr int OutputPolarity = 20;
inline constexpr int OutputMainVolume = 21;
inline constexpr int OutputDynamics = 22;
inline constexpr int OutputEq = 23;
inline constexpr int OutputCrossover = 24;
inline constexpr int OutputLink = 25;
inline constexpr int LoadProgram = 32;
inline constexpr int SaveProgram = 33;
inline constexpr int DeleteProgram = 34;
inline constexpr int CopyProgram = 35;
inline constexpr int DeviceId = 36;
inline constexpr int Settings = 37;
inline constexpr int BackLight = 38;
inline constexpr int KeyEdit = 39;
inline constexpr int PowerOn = 40;
}  // namespace LockFlag

struct LockState {
  static constexpr std::size_t kLockBytes = 54;
  static constexpr std::size_t kFlagCount = 48;
  static constexpr std::size_t kPasswordOffset = 48;
  static constexpr std::size_t kPasswordLength = 6;

  std::array<std::uint8_t, kLockBytes> bytes{};       // flags 0..47, password 48..53
  std::array<std::uint8_t, kFlagCount> deviceLock{};  // function locks that came with device data
  std::string password;                               // blanks removed; empty = none

  bool isLocked(int flag) const {
    return flag >= 0 && flag < static_cast<int>(kFlagCount) && bytes[static_cast<std::size_t>(flag)] != 0;
  }
  void setLocked(int flag, bool locked) { bytes.at(static_cast<std::size_t>(flag)) = locked ? 1 : 0; }

  void clear() {
    bytes.fill(0);
    deviceLock.fill(0);
    password.clear();
  }
};

}  // namespace orvane
