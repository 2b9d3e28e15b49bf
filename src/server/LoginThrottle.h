#pragma once

// Slows down guessing of the access code: after a few wrong codes from one
// address, that address is refused for a while, whatever code it sends.

#include <chrono>
#include <map>
#include <mutex>
#include <string>

namespace orvane::server {

class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  static constexpr int kFreeFailures = 5;
  static constexpr std::chrono::seconds kPause{30};
  static constexpr std::size_t kRecordsKept = 4096;

  // How long `address` must still wait; zero when it may try.
  std::chrono::seconds wait(const std::string& address, Clock::time_point now);
  void failed(const std::string& address, Clock::time_point now);
  void succeeded(const std::string& address);

 private:
  struct Record {
    int failures = 0;
    Clock::time_point blockedUntil{};
  };
  std::mutex mutex_;
  std::map<std::string, Record> records_;
};

}  // namespace orvane::server
