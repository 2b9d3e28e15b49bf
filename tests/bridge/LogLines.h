#pragma once

// The bridge's log as the test reads it back, line by line, while the
// server's thread writes. Every wait is bounded.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "bridge/BridgeLog.h"

namespace orvane::test {

class LogLines {
 public:
  BridgeLog& log() { return log_; }
  // Every line written so far, each with its line end.
  std::string seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
  }

  // The next line that contains `text`; the lines before it are dropped.
  std::optional<std::string> line(const std::string& text,
                                  std::chrono::milliseconds within = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    std::unique_lock lock(mutex_);
    for (;;) {
      while (!pending_.empty()) {
        std::string next = std::move(pending_.front());
        pending_.pop_front();
        if (next.find(text) != std::string::npos) return next;
      }
      if (!written_.wait_until(lock, deadline, [this] { return !pending_.empty(); })) return std::nullopt;
    }
  }

  // The lines written and not yet taken, without waiting.
  std::vector<std::string> lines() {
    std::lock_guard lock(mutex_);
    std::vector<std::string> taken(pending_.begin(), pending_.end());
    pending_.clear();
    return taken;
  }

 private:
  void add(const std::string& line) {
    {
      std::lock_guard lock(mutex_);
      pending_.push_back(line);
      seen_ += line + "\n";
    }
    written_.notify_all();
  }

  mutable std::mutex mutex_;
  std::condition_variable written_;
  std::deque<std::string> pending_;
  std::string seen_;
  BridgeLog log_{[this](const std::string& line) { add(line); }};
};

}  // namespace orvane::test
