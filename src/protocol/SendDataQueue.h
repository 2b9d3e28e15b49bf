#pragma once

// The frames waiting for the worker, first in first out. Builders append on
// the user-interface thread while the worker takes from the front; both hold
// the protocol lock, and the queue keeps its own lock besides, so it stays
// consistent whoever calls it.

#include <deque>
#include <memory>
#include <mutex>

#include "protocol/SendData.h"

namespace orvane {

class SendDataQueue {
 public:
  void append(std::unique_ptr<SendData> frame);
  // Moves the first frame into `transmit`; false when the queue is empty.
  bool takeNext(SendData& transmit);
  bool isEmpty() const;
  std::size_t size() const;
  void removeAll();

 private:
  mutable std::mutex mutex_;
  std::deque<std::unique_ptr<SendData>> frames_;
};

}  // namespace orvane
