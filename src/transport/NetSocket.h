#pragma once

// An owned socket descriptor, closed when its owner lets it go.

#include <utility>

namespace orvane {

class NetSocket {
 public:
  NetSocket() = default;
  explicit NetSocket(int fd) : fd_(fd) {}
  ~NetSocket() { reset(); }
  NetSocket(NetSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  NetSocket& operator=(NetSocket&& other) noexcept {
    if (this != &other) reset(std::exchange(other.fd_, -1));
    return *this;
  }
  NetSocket(const NetSocket&) = delete;
  NetSocket& operator=(const NetSocket&) = delete;

  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes the descriptor held and takes `fd` instead.
  void reset(int fd = -1);

 private:
  int fd_ = -1;
};

}  // namespace orvane
