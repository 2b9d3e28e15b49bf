#include "server/WorkQueue.h"

namespace orvane::server {

WorkQueue::WorkQueue(std::size_t mostWaiting) : mostWaiting_(mostWaiting), thread_([this] { run(); }) {}

WorkQueue::~WorkQueue() {
  stop();
}

bool WorkQueue::post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ || waiting_.size() >= mostWaiting_) return false;
    waiting_.push_back(std::move(work));
  }
  changed_.notify_one();
  return true;
}

void WorkQueue::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_one();
  if (thread_.joinable()) thread_.join();
  std::deque<std::function<void()>> dropped;
  std::lock_guard lock(mutex_);
  dropped.swap(waiting_);
}

void WorkQueue::run() {
  for (;;) {
    std::function<void()> work;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
      if (stopping_) return;
      work = std::move(waiting_.front());
      waiting_.pop_front();
    }
    work();
  }
}

}  // namespace orvane::server
