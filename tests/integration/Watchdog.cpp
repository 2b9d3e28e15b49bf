#include "Watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace orvane {

Watchdog::Watchdog(std::chrono::seconds limit)
    : thread_([this, limit] {
        std::unique_lock lock(mutex_);
        if (released_.wait_for(lock, limit, [this] { return done_; })) return;
        std::fprintf(stderr, "hung for %lld s while %s\n", static_cast<long long>(limit.count()),
                     step_.c_str());
        std::abort();
      }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard lock(mutex_);
    done_ = true;
  }
  released_.notify_all();
  thread_.join();
}

void Watchdog::step(std::string what) {
  std::lock_guard lock(mutex_);
  step_ = std::move(what);
}

}  // namespace orvane
