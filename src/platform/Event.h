#pragma once

// A manual-reset event: once set it stays set, waking every waiter, until it
// is reset. Backed by an eventfd so that a port thread can wait for it in the
// same poll() as its port descriptor; in the Windows build by an event
// object, which a port thread waits for beside its port's handles.
//
// The link threads set and reset their events on every exchange with the
// device, so the event keeps its state in a flag and touches the eventfd
// only when that changes what a poll() sees: setting a set event, resetting
// an unset one, or setting one that nobody polls costs no system call, and a
// wait for an event already set returns without one. (The Windows build's
// event object follows every change of the flag.)

#include <atomic>
#include <chrono>
#include <initializer_list>
#include <mutex>
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
  bool isSet() const { return set_.load(std::memory_order_seq_cst); }
  // Waits until the event is set or the time-out passes; true when set.
  bool wait(std::chrono::milliseconds timeout) const;

  // The descriptor to poll for readability: from this call on it is
  // readable exactly while the event is set. In the Windows build, the
  // event object's handle (LongToHandle gives it back), signalled exactly
  // while the event is set.
  int descriptor() const;

 private:
  friend std::optional<std::size_t> waitAny(std::span<const Event* const>, std::chrono::milliseconds);

  int fd_;  // the eventfd, or the event object's handle
  // The waiters polling the descriptor now. A waiter counts itself in, then
  // looks at the flag; set() stores the flag, then looks at the count: one of
  // the two always sees the other, so no wake-up is lost. Counting out takes
  // no lock, so a woken waiter never queues behind the thread that woke it.
  mutable std::atomic<int> pollers_{0};
  // Storing it in set() and loading it in the waiter make whatever the
  // setter wrote before set() visible to the thread that saw the event set.
  std::atomic<bool> set_{false};
  // Keeps the flag and the descriptor in step.
  mutable std::mutex mutex_;
  mutable bool signalled_ = false;      // the eventfd counter is not zero
  mutable bool descriptorOut_ = false;  // handed out: it follows the event for good

  // Called with the lock held.
  void signalDescriptor() const;
};

// Waits until at least one of the events is set and returns the lowest index
// among those set; nullopt when the time-out passed first. At most
// kMaxWaitEvents events.
inline constexpr std::size_t kMaxWaitEvents = 8;
std::optional<std::size_t> waitAny(std::span<const Event* const> events, std::chrono::milliseconds timeout);
std::optional<std::size_t> waitAny(std::initializer_list<const Event*> events,
                                   std::chrono::milliseconds timeout);

}  // namespace orvane
