#pragma once

#include "model/BlockSet.h"
#include "model/ConnectionState.h"
#include "model/DeviceStatus.h"
#include "model/EditorState.h"
#include "model/LockState.h"
#include "model/ProgramStore.h"
#include "model/SystemAreas.h"

namespace orvane {

// Everything the editor knows about the device, as plain data. Held by
// ParameterImage, which guards every access with its lock.
struct ImageData {
  BlockSet edited;  // the parameters as the user set them
  BlockSet device;  // what the device is known to hold
  ProgramStore programs{};
  std::array<std::uint8_t, kProgramNameBytes> currentProgramName{};
  int currentProgramNumber = 0;  // 0 = none recalled or stored, else 1..30
  SystemAreas system;
  LockState locks;
  EditorState editor;
  ConnectionState connection;
  DeviceStatus status;

  BlockSet& blocks(bool deviceCopy) { return deviceCopy ? device : edited; }
  const BlockSet& blocks(bool deviceCopy) const { return deviceCopy ? device : edited; }
};

}  // namespace orvane
