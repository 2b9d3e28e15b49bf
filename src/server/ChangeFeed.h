#pragma once

// The live stream the pages follow: at most twenty times a second the feed
// looks at the image and, when something changed, publishes one event with
// the link state, the sixteen meters, the locks of the functions the page
// offers and every parameter whose shown value changed — by a page, by orvanectl, by the device's own panel
// or by a recalled program alike. A parameter whose function is locked is
// announced as {"locked": true}, without its value, as the editor hides it.
// A reader that joins, or falls too far behind, first gets everything as it
// stands.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/Meters.h"
#include "cli/ParameterPath.h"
#include "platform/Event.h"
#include "server/DeviceService.h"

namespace orvane::server {

class ChangeFeed {
 public:
  static constexpr std::chrono::milliseconds kPeriod{50};

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
    cli::Meters::Levels levels;
    std::map<std::string, Value> values;
    std::map<std::string, bool> locks;  // by the functions the page offers
  };

  void run();
  State sample() const;
  void publish(const State& now);
  static std::string event(const Json& data);
  std::string snapshot() const;  // under mutex_

  DeviceService& device_;
  std::vector<cli::ParameterPath> paths_;
  mutable std::mutex mutex_;
  std::condition_variable published_;
  State state_;                                      // what the last event brought
  long sequence_ = 0;                                // the number of the last event
  std::deque<std::pair<long, std::string>> recent_;  // the last events, oldest first
  Event stop_;
  std::thread thread_;
};

}  // namespace orvane::server
