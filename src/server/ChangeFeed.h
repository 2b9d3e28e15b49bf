#pragma once

// The live stream the pages follow: at most twenty times a second the feed
// looks at the image and, when something changed, publishes one event with
// only the members that changed: the link state, the sixteen meters, the
// locks of the functions the page offers, every parameter whose shown value
// changed — by a page, by orvanectl, by the device's own panel or by a
// recalled program alike — the stored programs' names ("programs": [{"program":
// 1, "name": "..."}, ...], all thirty when one changed) and the current
// program's number ("program": 0 while none is). A parameter whose function
// is locked is announced as {"locked": true}, without its value, as the
// editor hides it. A reader that joins, or falls more than a few events
// behind, gets everything as it stands instead of the backlog.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "control/MeterLevels.h"
#include "control/ParameterPath.h"
#include "platform/Event.h"
#include "server/DeviceService.h"

namespace orvane::server {

class ChangeFeed {
 public:
  static constexpr std::chrono::milliseconds kPeriod{50};
  // Events kept for readers that are a little behind; one further behind
  // gets the state as it stands, smaller than a backlog of meters.
  static constexpr std::size_t kRecentEvents = 8;

  explicit ChangeFeed(DeviceService& device);
  ~ChangeFeed();
  ChangeFeed(const ChangeFeed&) = delete;
  ChangeFeed& operator=(const ChangeFeed&) = delete;

  void start();

  // The next event after the one numbered `seen` (which is then advanced),
  // as a server-sent event; nothing when none came within `timeout`.
  // A negative `seen` asks for everything as it stands.
  std::optional<std::string> next(long& seen, std::chrono::milliseconds timeout);

 private:
  // A parameter's text; nothing while its function is locked.
  using Value = std::optional<std::string>;

  struct State {
    std::string link;
    control::MeterLevels levels;
    std::map<std::string, Value> values;
    std::map<std::string, bool> locks;      // by the functions the page offers
    std::vector<std::string> programNames;  // programs 1 .. 30
    int program = 0;                        // the current one; 0 while none is
  };

  void run();
  State sample() const;
  void publish(const State& now);
  static std::string event(const Json& data);
  std::string snapshot() const;  // under mutex_
  bool behind(long seen) const;  // under mutex_

  DeviceService& device_;
  std::vector<control::ParameterPath> paths_;
  mutable std::mutex mutex_;
  std::condition_variable published_;
  State state_;                                      // what the last event brought
  long sequence_ = 0;                                // the number of the last event
  std::deque<std::pair<long, std::string>> recent_;  // the last events, oldest first
  Event stop_;
  std::thread thread_;
};

}  // namespace orvane::server
