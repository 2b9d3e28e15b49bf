#pragma once

// Every time-out and retry count of the links in one place, so tests can
// shorten them. The defaults are the device's real timing.

#include <chrono>

namespace orvane {

struct Timings {
  using ms = std::chrono::milliseconds;

  ms workerEventWait{3000};   // the worker's wait for its events
  ms workerReplyWait{50000};  // the worker's wait for the reply to a frame
};

}  // namespace orvane
