#pragma once

// Ends a test run that hangs: unless it is let go within its limit, it
// names the step the run was in and aborts the program, so a hang fails at
// once with a reason instead of holding the test run until its time-out.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace orvane {

class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  // Names the step the run is in now.
  void step(std::string what);

 private:
  std::mutex mutex_;
  std::condition_variable released_;
  bool done_ = false;
  std::string step_ = "starting";
  std::thread thread_;
};

}  // namespace orvane
