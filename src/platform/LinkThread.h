#pragma once

// The thread of one link: the communication worker's and each transport's.
// It starts parked, runs its body each time it is resumed, parks again when
// asked and ends when stopped. The body sees a park or stop request through
// interruption(), an event it waits on beside its own, so that whatever it
// waits for it returns to the thread at once; the body never waits without
// it. Requests go through one small lock and a condition variable: nobody
// spins, and park() waits a bounded time only, so a body held up in a step
// of its own cannot freeze the caller.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

#include "platform/Event.h"

namespace orvane {

class LinkThread {
 public:
  // Starts the thread parked; `body` runs on it while resumed and returns
  // soon after interruption() is set.
  explicit LinkThread(std::function<void()> body);
  ~LinkThread();
  LinkThread(const LinkThread&) = delete;
  LinkThread& operator=(const LinkThread&) = delete;

  // Lets the parked thread run its body. Nothing once stopped.
  void resume();
  // Asks the body to return and waits until the thread is parked, `bound`
  // at most. True when parked (or ended) in time; otherwise the thread parks
  // as soon as its body returns.
  bool park(std::chrono::milliseconds bound);
  // Asks the body to return, ends the thread and joins it. The join is as
  // short as the body's answer to interruption(). A resume not taken up yet
  // is dropped, so the owner lets go afterwards of whatever the body would
  // have. Safe to call again.
  void stop();

  // What wait() returns when a park or stop was asked.
  static constexpr std::size_t kInterrupted = std::numeric_limits<std::size_t>::max();

  // For the body: waits as waitAny() does for the lowest index among
  // `events` set, nullopt after the time-out, or kInterrupted at once when
  // a park or stop is asked, whatever else is set.
  std::optional<std::size_t> wait(std::span<const Event* const> events,
                                  std::chrono::milliseconds timeout) const;
  std::optional<std::size_t> wait(std::initializer_list<const Event*> events,
                                  std::chrono::milliseconds timeout) const;

  // For the body: sleeps for `duration` unless a park or stop is asked;
  // false when one is.
  bool pause(std::chrono::milliseconds duration) const { return !interruption_.wait(duration); }

  // Parked and not about to run: the body's resources are free.
  bool parked() const;
  // Set from a park or stop request until the thread is parked again.
  const Event& interruption() const { return interruption_; }
  bool interrupted() const { return interruption_.isSet(); }

 private:
  enum class State : std::uint8_t { Parked, Running, Ended };

  void run();
  // Waits parked until resumed; false when the thread must end instead.
  bool waitForResume();
  void parkAfterBody();
  // Called with the lock held.
  bool isParked() const;

  std::function<void()> body_;
  Event interruption_;
  mutable std::mutex mutex_;  // guards the three members below
  std::condition_variable changed_;
  State state_ = State::Parked;
  bool resumeAsked_ = false;
  bool stopAsked_ = false;
  std::mutex joinMutex_;  // one stop() joins
  std::thread thread_;
};

}  // namespace orvane
