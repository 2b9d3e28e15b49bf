#include "server/SessionTable.h"

#include <algorithm>
#include <random>

namespace orvane::server {

namespace {

constexpr std::size_t kTokenBytes = 32;

std::string randomToken() {
  static constexpr char kHex[] = "0123456789abcdef";
  std::random_device random;  // the system's random source
  std::string token;
  for (std::size_t i = 0; i < kTokenBytes; ++i) {
    const unsigned byte = random() & 0xFF;
    token += kHex[byte >> 4];
    token += kHex[byte & 0xF];
  }
  return token;
}

}  // namespace

std::string SessionTable::open(Clock::time_point now, AccessLevel level) {
  std::string token = randomToken();
  std::lock_guard lock(mutex_);
  std::erase_if(sessions_, [now](const auto& entry) { return now - entry.second.lastUse > kUnusedLimit; });
  if (sessions_.size() >= kMostSessions)
    sessions_.erase(
        std::ranges::min_element(sessions_, {}, [](const auto& entry) { return entry.second.lastUse; }));
  sessions_[token] = Session{now, level};
  return token;
}

std::optional<AccessLevel> SessionTable::use(const std::string& token, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const auto found = sessions_.find(token);
  if (found == sessions_.end()) return std::nullopt;
  if (now - found->second.lastUse > kUnusedLimit) {
    sessions_.erase(found);
    return std::nullopt;
  }
  found->second.lastUse = now;
  return found->second.level;
}

}  // namespace orvane::server
