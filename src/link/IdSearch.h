#pragma once

// Whether a search of the RS-485 bus for device IDs runs. The connection
// manager starts and ends it; a serial port that fails during the search
// ends it on its own thread, so that the report of the lost link that
// follows counts as a loss and not as the search's normal end.

#include <atomic>

namespace orvane {

class IdSearch {
 public:
  void begin() { running_.store(true); }
  bool running() const { return running_.load(); }
  // True when a search was running.
  bool end() { return running_.exchange(false); }

 private:
  std::atomic<bool> running_{false};
};

}  // namespace orvane
