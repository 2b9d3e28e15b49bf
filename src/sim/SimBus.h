#pragma once

// The RS-485 bus orvane-sim serves beside the network when asked: the
// simulated devices on it, each answering under its own device ID, on a
// pseudo-terminal that the editor opens as its serial port. The Windows
// build has no pseudo-terminals and serves the network link only.

#include <chrono>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "sim/DeviceResponder.h"

namespace orvane {

class SimBus {
 public:
  virtual ~SimBus() = default;

  // Why this build serves no bus; empty when it does.
  static std::string_view unavailable();
  // Starts a bus with `devices` on it (each must outlive the bus), every
  // answer given after `delay`. Throws std::system_error when the system
  // gives no terminal for it.
  static std::unique_ptr<SimBus> start(std::span<DeviceResponder* const> devices,
                                       std::chrono::milliseconds delay);

  // The path the editor opens as its serial port.
  virtual std::string path() const = 0;
  // Takes the bus down.
  virtual void stop() = 0;
};

}  // namespace orvane
