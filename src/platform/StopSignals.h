#pragma once

// The requests that end a program serving devices or clients until told to
// stop: Ctrl+C, and a service manager's or the system's request to end
// (SIGTERM; in the Windows build the console window being closed, the user
// logging off or the system shutting down). Made in main before any thread
// starts, it takes these requests over and turns them into an event, so
// that main stops its links and saves what it keeps instead of being ended
// half way; a peer that goes away makes a write fail rather than end the
// program.

#include <chrono>
#include <memory>

#include "platform/Event.h"

namespace orvane {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Waits until a stop is requested or the time-out passes; true once one
  // was requested.
  bool waitFor(std::chrono::milliseconds timeout) const { return stop_.wait(timeout); }
  // Waits until a stop is requested.
  void wait() const {
    while (!stop_.wait(std::chrono::hours(1))) {
    }
  }
  // Set once a stop is requested, to wait for beside a program's own events.
  const Event& event() const { return stop_; }

 private:
  Event stop_;
  // What the system needs to hand the requests over.
  struct Watch;
  std::unique_ptr<Watch> watch_;
};

}  // namespace orvane
