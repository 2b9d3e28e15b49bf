#pragma once

// The meters' request for the device's next levels. A front-end asks once it
// has shown the levels it holds (connecting asks for the first); the
// dispatcher stores the levels of a reply only while they are asked for and
// takes the request back as it stores them, so a second level reply never
// overtakes the first on its way to the meters. Asked on the front-end's
// thread, taken on the transport's.

#include <atomic>

namespace orvane {

class LevelRequest {
 public:
  // The meters have shown what they hold: the next levels may come.
  void request() { requested_.store(true); }
  bool requested() const { return requested_.load(); }
  // The levels of a reply were stored: true when they were asked for, and
  // the request is spent.
  bool take() { return requested_.exchange(false); }
  // The link closed: nothing is asked for until the next connection.
  void withdraw() { requested_.store(false); }

 private:
  std::atomic<bool> requested_{false};
};

}  // namespace orvane
