#include "server/LoginThrottle.h"

namespace orvane::server {

std::chrono::seconds LoginThrottle::wait(const std::string& address, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  const auto found = records_.find(address);
  if (found == records_.end() || found->second.blockedUntil <= now) return std::chrono::seconds(0);
  return std::chrono::ceil<std::chrono::seconds>(found->second.blockedUntil - now);
}

void LoginThrottle::failed(const std::string& address, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  // Many addresses guessing at once: forget those that may try again anyway.
  if (records_.size() >= kRecordsKept)
    std::erase_if(records_, [now](const auto& entry) { return entry.second.blockedUntil <= now; });
  Record& record = records_[address];
  if (++record.failures < kFreeFailures) return;
  // Each further wrong code after the free ones starts the pause again.
  record.blockedUntil = now + kPause;
}

void LoginThrottle::succeeded(const std::string& address) {
  std::lock_guard lock(mutex_);
  records_.erase(address);
}

}  // namespace orvane::server
