#pragma once

// The three events that drive the communication worker; when several are
// set the lowest index wins, so queued frames are served before idle work.
// Parking and ending the worker go through its thread (LinkThread).

#include <array>

#include "platform/Event.h"

namespace orvane {

enum class WorkerEvent : std::size_t { Wake = 0, QueueNotEmpty = 1, Run = 2 };

class WorkerEvents {
 public:
  static constexpr std::size_t kCount = 3;

  Event& operator[](WorkerEvent e) { return events_[static_cast<std::size_t>(e)]; }
  const Event& operator[](WorkerEvent e) const { return events_[static_cast<std::size_t>(e)]; }
  std::array<const Event*, kCount> all() const { return {&events_[0], &events_[1], &events_[2]}; }

 private:
  std::array<Event, kCount> events_;
};

}  // namespace orvane
