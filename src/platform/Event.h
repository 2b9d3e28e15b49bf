#pragma once

// A manual-reset event: once set it stays set, waking every waiter, until it
// is reset. Backed by an eventfd so that a port thread can wait for it in the
// same poll() as its port descriptor.

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <optional>
#include <span>

namespace orvane {

class Event {
 public:
  Event();
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();
  bool isSet() const;
  // Waits until the event is set or the time-out passes; true when set.
  bool wait(std::chrono::milliseconds timeout) const;

  // The descriptor to poll for readability: readable while the event is set.
  int descriptor() const { return fd_; }

 private:
  friend std::optional<std::size_t> waitAny(std::span<const Event* const>, std::chrono::milliseconds);

  int fd_;
  // Mirrors the descriptor's state; its release/acquire pair makes whatever
  // the setter wrote before set() visible to the thread that saw it set.
  std::atomic<bool> set_{false};
};

// Waits until at least one of the events is set and returns the lowest index
// among those set; nullopt when the time-out passed first.
std::optional<std::size_t> waitAny(std::span<const Event* const> events, std::chrono::milliseconds timeout);
std::optional<std::size_t> waitAny(std::initializer_list<const Event*> events,
                                   std::chrono::milliseconds timeout);

}  // namespace orvane
