#pragma once

// orvane-sim as a separate program for the fault soak: every tenth reply
// corrupted, every hundredth dropped, on the network link or on an RS-485
// bus of its own. It keeps its state in a file that outlives it, so it can
// be killed and started again as the same device, and it adds up what its
// runs answered.

#include <memory>
#include <optional>
#include <string>

#include "link/ConnectTarget.h"
#include "sim/DeviceData.h"
#include "sim/DeviceResponder.h"
#include "support/SimulatorProcess.h"

namespace orvane {

class SoakDevice {
 public:
  static constexpr int kCorruptEvery = 10;
  static constexpr int kDropEvery = 100;

  SoakDevice(LinkType link, std::string stateFile) : link_(link), stateFile_(std::move(stateFile)) {}

  // Starts it, from the state file when there is one; false when it did
  // not come up.
  bool start();
  // Where the editor reaches it while it runs.
  ConnectTarget target() const;
  // Stops it the normal way: it saves its state and tells its counts,
  // which are added up. False when it did not tell them.
  bool stop();
  // Ends it at once, as a crash or a power cut would: it saves nothing
  // more, and what it answered goes uncounted.
  void kill();
  // The state it saved last, or nothing when there is none.
  std::optional<DeviceData> savedState() const;
  // The counts of the runs stopped the normal way.
  const DeviceResponder::Counts& counts() const { return counts_; }

 private:
  LinkType link_;
  std::string stateFile_;
  std::unique_ptr<SimulatorProcess> process_;
  DeviceResponder::Counts counts_;
};

}  // namespace orvane
