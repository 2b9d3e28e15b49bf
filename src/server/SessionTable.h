#pragma once

// The sessions of logged-in pages. A login gives the page a random token
// for its cookie, never the access code itself; the table knows the
// tokens it gave, each with the access level of the code the login used,
// and valid until it was unused for a while. Nothing is
// kept on disk: a restart ends every session. When too many are open the
// one unused longest goes.

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "server/AccessCodes.h"

namespace orvane::server {

class SessionTable {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr std::chrono::hours kUnusedLimit{12};
  static constexpr std::size_t kMostSessions = 1024;

  // A new session's token: 32 bytes of the system's random source, as hex.
  std::string open(Clock::time_point now, AccessLevel level);
  // The level of the session `token` names, when it is in time; using it
  // keeps it alive.
  std::optional<AccessLevel> use(const std::string& token, Clock::time_point now);

 private:
  struct Session {
    Clock::time_point lastUse;
    AccessLevel level;
  };
  std::mutex mutex_;
  std::map<std::string, Session> sessions_;
};

}  // namespace orvane::server
