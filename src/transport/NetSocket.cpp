#include "transport/NetSocket.h"

#include <unistd.h>

namespace orvane {

void NetSocket::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

}  // namespace orvane
