#pragma once

// The five events that drive the communication worker; when several are set
// the lowest index wins, so queued frames are served before idle work.

#include <array>

#include "platform/Event.h"

namespace orvane {

enum class WorkerEvent : std::size_t { Stop = 0, Suspend = 1, Wake = 2, QueueNotEmpty = 3, Run = 4 };

class WorkerEvents {
 public:
  static constexpr std::size_t kCount = 5;

  Event& operator[](WorkerEvent e) { return events_[static_cast<std::size_t>(e)]; }
  const Event& operator[](WorkerEvent e) const { return events_[static_cast<std::size_t>(e)]; }
  std::array<const Event*, kCount> all() const {
    return {&events_[0], &events_[1], &events_[2], &events_[3], &events_[4]};
  }

 private:
  std::array<Event, kCount> events_;
};

}  // namespace orvane
