#pragma once

// Keeps a simulated device's level meters moving, so the editor's meters show
// something alive during a demonstration: each channel swings up and down at
// its own pace, now and then touching the top step with its peak indicator.

#include <atomic>
#include <thread>

#include "platform/Event.h"
#include "sim/DeviceState.h"

namespace orvane {

class LevelMotion {
 public:
  explicit LevelMotion(DeviceState& device);
  ~LevelMotion();
  LevelMotion(const LevelMotion&) = delete;
  LevelMotion& operator=(const LevelMotion&) = delete;

  // The level bytes of all sixteen channels at `tick` (one tick per 100 ms).
  static LevelBytes levelsAt(long tick);

 private:
  void run();

  DeviceState& device_;
  Event stop_;
  // A plain thread, not a LinkThread: a ticker that carries no link and
  // runs for the simulated device's whole life.
  std::thread thread_;
};

}  // namespace orvane
