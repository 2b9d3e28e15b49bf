#include "transport/NetSocket.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace orvane {

namespace {

// About fifteen of the largest frames (545 bytes); the kernel doubles it.
constexpr int kFrameSendBuffer = 8 * 1024;

}  // namespace

NetSocket NetSocket::listening(NetEndpoint& endpoint, int backlog) {
  NetSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket.valid()) return socket;
  const int on = 1;
  ::setsockopt(socket.fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address = endpoint.socketAddress();
  socklen_t length = sizeof address;
  if (::bind(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(socket.fd(), backlog) != 0 ||
      ::getsockname(socket.fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    const int error = errno;
    socket.reset();
    errno = error;
    return socket;
  }
  endpoint.port = ntohs(address.sin_port);
  return socket;
}

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
