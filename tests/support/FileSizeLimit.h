#pragma once

// Makes every write of this process (and of the programs it starts
// meanwhile) past the first `bytes` of a file fail, as a full disk does, and
// root is held to it too. Writes fail with EFBIG instead of raising SIGXFSZ.
// The earlier limit and signal handling return with the object.

#include <sys/resource.h>

#include <csignal>

namespace orvane {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    signal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, signal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*signal_)(int) = SIG_DFL;
};

}  // namespace orvane
