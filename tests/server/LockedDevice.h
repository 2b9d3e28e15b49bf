#pragma once

// A state file for the simulator: a device as it leaves the factory, with
// the given function and system locks set.

#include <initializer_list>
#include <string>

#include "protocol/LockPacket.h"
#include "sim/DeviceState.h"
#include "sim/DeviceStateFile.h"

namespace orvane {

inline bool writeLockedDevice(const std::string& stateFile, std::initializer_list<int> flags) {
  LockState locks;
  for (int flag : flags) locks.setLocked(flag, true);
  DeviceState device;
  device.modify([&](DeviceData& d) { d.workingLocks = LockPacket::build(locks); });
  return !device.read([&](const DeviceData& d) { return DeviceStateFile::save(stateFile, d); });
}

}  // namespace orvane
