#pragma once

// The requests that end a program serving devices or clients until told to
// stop: Ctrl+C, and a service manager's or the system's request to end
// (SIGTERM; in the Windows build the console window being closed, the user
// logging off or the system shutting down). Made in main before any thread
// starts, it takes these requests over, so that main waits for them, stops
// its links and saves what it keeps instead of being ended half way; a peer
// that goes away makes a write fail rather than end the program.

#include <chrono>
#include <memory>

namespace orvane {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Waits until a stop is requested or the time-out passes; true once one
  // was requested.
  bool waitFor(std::chrono::milliseconds timeout);
  // Waits until a stop is requested.
  void wait();
  // Readable once a stop is requested, to wait for beside other
  // descriptors; in the Windows build an event object's handle, as
  // Event::descriptor() gives one. (Either way of waiting, not both.)
  int descriptor();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace orvane
