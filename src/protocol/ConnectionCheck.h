#pragma once

// The check that a new link leads to a device: from the moment the worker
// takes the check's request off the queue until the dispatcher takes its
// answer, only that answer counts, and a network link counts a reply that
// fails it as a failure. Started on the worker's thread, settled on the
// transport's, read by both.

#include <atomic>

namespace orvane {

class ConnectionCheck {
 public:
  // The check's request is the frame in flight.
  void start() {
    notReady_.store(false);
    pending_.store(true);
  }
  bool pending() const { return pending_.load(); }
  // The device answered the check.
  void pass() { pending_.store(false); }
  // The device answered the check that it is not ready.
  void refuse() { notReady_.store(true); }
  // The last check was answered "not ready" at least once.
  bool answeredNotReady() const { return notReady_.load(); }
  // The link closed before the answer came.
  void cancel() { pending_.store(false); }

 private:
  std::atomic<bool> pending_{false};
  std::atomic<bool> notReady_{false};
};

}  // namespace orvane
