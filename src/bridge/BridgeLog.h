#pragma once

// The bridge's log: one line per event, with the local time, written at once
// so that a service manager or a terminal shows it as it happens. Safe to use
// from the transport's thread too.

#include <cstdio>
#include <mutex>
#include <string>

namespace orvane {

class BridgeLog {
 public:
  explicit BridgeLog(std::FILE* out) : out_(out) {}

  void write(const std::string& line);

 private:
  std::mutex mutex_;
  std::FILE* out_;
};

}  // namespace orvane
