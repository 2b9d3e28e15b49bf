#include <unistd.h>

#include "platform/PortIo.h"

namespace orvane {

// A socket is written with send(), so that a connection the peer closed
// reports an error instead of raising SIGPIPE; a terminal with write().
long writeSomeToPort(NativeSocket fd, PortKind kind, std::span<const std::uint8_t> bytes) {
  if (kind == PortKind::Socket) return sockets::send(fd, bytes, true);
  return ::write(fd, bytes.data(), bytes.size());
}

}  // namespace orvane
