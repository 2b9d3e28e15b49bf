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

std::string SessionTable::open(Clock::time_point now) {
  std::string token = randomToken();
  std::lock_guard lock(mutex_);
  std::erase_if(lastUse_, [now](const auto& entry) { return now - entry.second > kUnusedLimit; });
  if (lastUse_.size() >= kMostSessions)
    lastUse_.erase(std::ranges::min_element(lastUse_, {}, [](const auto& entry) { return entry.second; }));
  lastUse_[token] = now;
  return token;
}

bool SessionTable::use(const std::string& token, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const auto found = lastUse_.find(token);
  if (found == lastUse_.end()) return false;
  if (now - found->second > kUnusedLimit) {
    lastUse_.erase(found);
    return false;
  }
  found->second = now;
  return true;
}

}  // namespace orvane::server
