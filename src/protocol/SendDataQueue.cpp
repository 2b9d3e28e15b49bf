#include "protocol/SendDataQueue.h"

namespace orvane {

void SendDataQueue::append(std::unique_ptr<SendData> frame) {
  std::lock_guard lock(mutex_);
  frames_.push_back(std::move(frame));
}

bool SendDataQueue::takeNext(SendData& transmit) {
  std::unique_ptr<SendData> next;
  {
    std::lock_guard lock(mutex_);
    if (frames_.empty()) return false;
    next = std::move(frames_.front());
    frames_.pop_front();
  }
  transmit = *next;
  return true;
}

bool SendDataQueue::isEmpty() const {
  std::lock_guard lock(mutex_);
  return frames_.empty();
}

std::size_t SendDataQueue::size() const {
  std::lock_guard lock(mutex_);
  return frames_.size();
}

void SendDataQueue::removeAll() {
  std::lock_guard lock(mutex_);
  frames_.clear();
}

}  // namespace orvane
