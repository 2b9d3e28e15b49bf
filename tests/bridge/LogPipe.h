#pragma once

// The bridge's log written into a pipe and read back by the test line by
// line, while the server's thread writes. Every wait is bounded.

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bridge/BridgeLog.h"

namespace orvane::test {

class LogPipe {
 public:
  LogPipe() : log_(openWriter()) {}
  ~LogPipe() {
    std::fclose(writer_);
    ::close(reader_);
  }
  LogPipe(const LogPipe&) = delete;
  LogPipe& operator=(const LogPipe&) = delete;

  BridgeLog& log() { return log_; }
  // Everything read so far.
  const std::string& seen() const { return seen_; }

  // The next line that contains `text`; the lines before it are dropped.
  std::optional<std::string> line(const std::string& text,
                                  std::chrono::milliseconds within = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    do {
      while (auto next = takeLine())
        if (next->find(text) != std::string::npos) return next;
    } while (pump(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())));
    return std::nullopt;
  }

  // The lines written and not yet taken, without waiting.
  std::vector<std::string> lines() {
    while (pump(std::chrono::milliseconds(0))) {
    }
    std::vector<std::string> taken;
    while (auto next = takeLine()) taken.push_back(std::move(*next));
    return taken;
  }

 private:
  std::FILE* openWriter() {
    int ends[2] = {-1, -1};
    [[maybe_unused]] const int made = ::pipe(ends);
    reader_ = ends[0];
    return writer_ = ::fdopen(ends[1], "w");
  }

  // Reads what arrives within `within`; false when nothing did.
  bool pump(std::chrono::milliseconds within) {
    pollfd fd{reader_, POLLIN, 0};
    char chunk[4096];
    const ssize_t got = ::poll(&fd, 1, static_cast<int>(std::max(within.count(), 0L))) > 0
                            ? ::read(reader_, chunk, sizeof chunk)
                            : 0;
    buffer_.append(chunk, static_cast<std::size_t>(std::max(got, ssize_t{0})));
    seen_.append(chunk, static_cast<std::size_t>(std::max(got, ssize_t{0})));
    return got > 0;
  }

  std::optional<std::string> takeLine() {
    const auto end = buffer_.find('\n');
    if (end == std::string::npos) return std::nullopt;
    std::string line = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    return line;
  }

  int reader_ = -1;
  std::FILE* writer_ = nullptr;
  BridgeLog log_;
  std::string buffer_;
  std::string seen_;
};

}  // namespace orvane::test
