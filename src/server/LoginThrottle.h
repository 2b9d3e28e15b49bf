#pragma once

// Slows down guessing of the access code: after a few wrong codes from one
// address, that address may not try again for a while, whatever code it
// sends. Only attempts are refused: a page already logged in from there
// keeps working. Looking whether an address may try and counting its
// attempt are one step, so that parallel guesses cannot slip through.

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

  // An attempt from `address` whose code was `right`: zero when it was
  // taken (and counted), else how long the address must still wait.
  std::chrono::seconds attempt(const std::string& address, bool right, Clock::time_point now);

 private:
  struct Record {
    int failures = 0;
    Clock::time_point blockedUntil{};
  };
  std::mutex mutex_;
  std::map<std::string, Record> records_;
};

}  // namespace orvane::server
