#include "transport/NetSocket.h"

#include <cerrno>

namespace orvane {

namespace {

// About fifteen of the largest frames (545 bytes); the kernel doubles it.
constexpr int kFrameSendBuffer = 8 * 1024;

}  // namespace

NetSocket NetSocket::listening(NetEndpoint& endpoint, int backlog) {
  NetSocket socket(sockets::openTcp(false));
  if (!socket.valid()) return socket;
  sockets::reuseAddress(socket.fd());
  sockaddr_in address = endpoint.socketAddress();
  if (sockets::bind(socket.fd(), address) != 0 || sockets::listen(socket.fd(), backlog) != 0 ||
      sockets::localAddress(socket.fd(), address) != 0) {
    const int error = errno;
    socket.reset();
    errno = error;
    return socket;
  }
  endpoint.port = ntohs(address.sin_port);
  return socket;
}

void NetSocket::reset(NativeSocket fd) {
  if (fd_ != kNoSocket) sockets::close(fd_);
  fd_ = fd;
}

void NetSocket::setFrameOptions() const {
  sockets::setNoDelay(fd_);
  sockets::setOption(fd_, SOL_SOCKET, SO_SNDBUF, kFrameSendBuffer);
}

}  // namespace orvane
