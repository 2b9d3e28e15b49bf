#pragma once

// The rule of a program that keeps a device link open for others (the
// server, the bridge): after a loss or a failed open the link is opened
// again a pause later, for as long as the program runs, and each change of
// the link is told once — an open that fails the same way again is not
// told again, nor is a loss after a loss.

#include <chrono>
#include <string>

namespace orvane {

class LinkRetry {
 public:
  using Clock = std::chrono::steady_clock;
  enum class State { Connecting, Open, Lost };

  explicit LinkRetry(Clock::duration pause) : pause_(pause) {}

  // The link is now `state`; `error` says why an open failed (empty when
  // it opened or was lost). True when the change is news to be told. A
  // link that is not open is opened again a pause after `now`.
  bool change(State state, const std::string& error, Clock::time_point now = Clock::now());
  // When the link is to be opened again; never while it is open.
  Clock::time_point nextOpen() const { return nextOpen_; }

 private:
  Clock::duration pause_;
  State told_ = State::Connecting;
  std::string toldError_;
  Clock::time_point nextOpen_{};
};

}  // namespace orvane
