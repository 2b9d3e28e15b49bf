#pragma once

// Faults a simulated device can be told to make, so that the editor's
// handling of a misbehaving device can be seen and tested. Reply counting
// starts anew whenever a plan is set.

namespace orvane {

struct FaultPlan {
  // Every Nth reply goes out with a wrong checksum; 0 = never.
  int corruptEvery = 0;
  // Every Nth reply is never sent; 0 = never. A dropped reply is not also
  // corrupted.
  int dropEvery = 0;
  // The connection check is answered with 1 ("not ready") instead of 0.
  bool failConnectionCheck = false;

  friend bool operator==(const FaultPlan&, const FaultPlan&) = default;
};

}  // namespace orvane
