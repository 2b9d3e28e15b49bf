#pragma once

// The bridge's log: one line per event, with the local time, written at once
// so that a service manager or a terminal shows it as it happens. Safe to use
// from the transport's thread too.

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

namespace orvane {

class BridgeLog {
 public:
  // Takes each line, time and all, without its line end.
  using Sink = std::function<void(const std::string& line)>;

  // Writes the lines to `out`, each flushed as it is written.
  explicit BridgeLog(std::FILE* out);
  explicit BridgeLog(Sink sink) : sink_(std::move(sink)) {}

  void write(const std::string& line);

 private:
  std::mutex mutex_;
  Sink sink_;
};

}  // namespace orvane
