#pragma once

// The sessions of logged-in pages. A login gives the page a random token
// for its cookie, never the access code itself; the table knows the
// tokens it gave, each valid until it was unused for a while. Nothing is
// kept on disk: a restart ends every session. When too many are open the
// one unused longest goes.

#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace orvane::server {

class SessionTable {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr std::chrono::hours kUnusedLimit{12};
  static constexpr std::size_t kMostSessions = 1024;

  // A new session's token: 32 bytes of the system's random source, as hex.
  std::string open(Clock::time_point now);
  // Whether `token` names a session in time; using it keeps it alive.
  bool use(const std::string& token, Clock::time_point now);

 private:
  std::mutex mutex_;
  std::map<std::string, Clock::time_point> lastUse_;
};

}  // namespace orvane::server
