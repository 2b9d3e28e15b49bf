#include "platform/LinkThread.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace orvane {

LinkThread::LinkThread(std::function<void()> body) : body_(std::move(body)) {
  thread_ = std::thread([this] { run(); });
}

LinkThread::~LinkThread() {
  stop();
}

void LinkThread::resume() {
  {
    std::lock_guard lock(mutex_);
    if (stopAsked_) return;
    resumeAsked_ = true;
  }
  changed_.notify_all();
}

bool LinkThread::park(std::chrono::milliseconds bound) {
  std::unique_lock lock(mutex_);
  if (isParked()) return true;
  // A resume not taken up yet still runs the body once, which then returns
  // at once: whatever it lets go of on its way out is let go.
  interruption_.set();
  return changed_.wait_for(lock, bound, [this] { return isParked(); });
}

void LinkThread::stop() {
  std::lock_guard join(joinMutex_);
  {
    std::lock_guard lock(mutex_);
    stopAsked_ = true;
    interruption_.set();
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

std::optional<std::size_t> LinkThread::wait(std::span<const Event* const> events,
                                            std::chrono::milliseconds timeout) const {
  if (events.size() >= kMaxWaitEvents) throw std::length_error("LinkThread::wait: too many events");
  std::array<const Event*, kMaxWaitEvents> all{&interruption_};
  std::copy(events.begin(), events.end(), all.begin() + 1);
  const std::optional<std::size_t> found = waitAny(std::span(all.data(), events.size() + 1), timeout);
  if (!found) return std::nullopt;
  return *found == 0 ? kInterrupted : *found - 1;
}

std::optional<std::size_t> LinkThread::wait(std::initializer_list<const Event*> events,
                                            std::chrono::milliseconds timeout) const {
  return wait(std::span<const Event* const>(events.begin(), events.size()), timeout);
}

bool LinkThread::parked() const {
  std::lock_guard lock(mutex_);
  return isParked();
}

bool LinkThread::isParked() const {
  return state_ != State::Running && !resumeAsked_;
}

void LinkThread::run() {
  while (waitForResume()) {
    body_();
    parkAfterBody();
  }
}

bool LinkThread::waitForResume() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return resumeAsked_ || stopAsked_; });
  if (stopAsked_) {
    state_ = State::Ended;
    changed_.notify_all();
    return false;
  }
  resumeAsked_ = false;
  state_ = State::Running;
  return true;
}

// A park request is answered here, so its interruption ends; a stop's
// stays set for good.
void LinkThread::parkAfterBody() {
  {
    std::lock_guard lock(mutex_);
    if (!stopAsked_) interruption_.reset();
    state_ = State::Parked;
  }
  changed_.notify_all();
}

}  // namespace orvane
