#pragma once

// Everything a KVS7304 keeps, as plain data: the working state it processes
// audio with, its 30 stored programs, its locks, its system settings and
// what it reports about itself. Held by DeviceState, which guards every
// access with its lock.

#include <array>
#include <cstdint>
#include <vector>

#include "model/BlockSet.h"
#include "model/ProgramStore.h"
#include "model/SystemAreas.h"

namespace orvane {

using LockPacketBytes = std::array<std::uint8_t, kLockPacketBytes>;
using ProgramName = std::array<std::uint8_t, kProgramNameBytes>;
using FirmwareText = std::array<std::uint8_t, 8>;
// Eight input levels, then eight output levels.
using LevelBytes = std::array<std::uint8_t, 16>;

struct DeviceData {
  static constexpr int kDefaultDeviceId = 1;
  static constexpr int kMaxDeviceId = 250;

  BlockSet working;  // the channel blocks the device runs with
  ProgramName currentProgramName{};
  ProgramStore programs{};          // programs 1..30: blocks, name, lock packet
  LockPacketBytes workingLocks{};   // function and system locks, password
  LockPacketBytes deviceLockSet{};  // the locks kept as program 31
  std::array<std::uint8_t, SystemAreas::kSetupBlockSize> setup{};
  std::array<std::uint8_t, SystemAreas::kExtendedBlockSize> extended{};
  std::uint8_t startupProgram = 0;        // 0 = the current program, 1..30
  std::vector<std::uint8_t> networkName;  // empty = no name set
  FirmwareText firmwareVersion{};
  std::uint8_t deviceId = kDefaultDeviceId;  // the address on the RS-485 bus
  LevelBytes levels{};
  // The last message passed on to the camera port, for whoever watches the
  // device from outside.
  std::vector<std::uint8_t> lastCameraMessage;

  ProgramRecord& program(int number) { return programs.at(static_cast<std::size_t>(number - 1)); }
  const ProgramRecord& program(int number) const { return programs.at(static_cast<std::size_t>(number - 1)); }
};

}  // namespace orvane
