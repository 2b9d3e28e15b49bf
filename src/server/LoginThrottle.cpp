#include "server/LoginThrottle.h"

namespace orvane::server {

std::chrono::seconds LoginThrottle::attempt(const std::string& address, bool right, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const auto found = records_.find(address);
  if (found != records_.end() && found->second.blockedUntil > now)
    return std::chrono::ceil<std::chrono::seconds>(found->second.blockedUntil - now);
  if (right) {
    if (found != records_.end()) records_.erase(found);
    return std::chrono::seconds(0);
  }
  // Many addresses guessing at once: forget those that may try again anyway.
  if (records_.size() >= kRecordsKept)
    std::erase_if(records_, [now](const auto& entry) { return entry.second.blockedUntil <= now; });
  Record& record = records_[address];
  // Each further wrong code after the free ones starts the pause again.
  if (++record.failures >= kFreeFailures) record.blockedUntil = now + kPause;
  return std::chrono::seconds(0);
}

}  // namespace orvane::server
