#include <cerrno>

#include "platform/PortIo.h"

namespace orvane {

// Only sockets are written here: a serial port writes with its overlapped
// writes.
long writeSomeToPort(NativeSocket fd, PortKind kind, std::span<const std::uint8_t> bytes) {
  if (kind == PortKind::Socket) return sockets::send(fd, bytes, true);
  errno = EBADF;
  return -1;
}

}  // namespace orvane
