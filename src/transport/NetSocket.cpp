#include "transport/NetSocket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvane {

namespace {

// About fifteen of the largest frames (545 bytes); the kernel doubles it.
constexpr int kFrameSendBuffer = 8 * 1024;

}  // namespace

void NetSocket::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

void NetSocket::setFrameOptions() const {
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  ::setsockopt(fd_, SOL_SOCKET, SO_SNDBUF, &kFrameSendBuffer, sizeof kFrameSendBuffer);
}

}  // namespace orvane
