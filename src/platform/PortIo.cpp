#include "platform/PortIo.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <vector>

namespace orvane {

namespace {

constexpr short kPortError = POLLERR | POLLHUP | POLLNVAL;

int msUntil(PortClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - PortClock::now());
  return static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
}

ssize_t writeSome(int fd, PortKind kind, std::span<const std::uint8_t> bytes) {
  if (kind == PortKind::Socket) return ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
  return ::write(fd, bytes.data(), bytes.size());
}

}  // namespace

PortWait waitForPort(int fd, short events, PortClock::time_point deadline,
                     std::initializer_list<const Event*> interrupts) {
  std::vector<pollfd> fds{pollfd{fd, events, 0}};
  for (const Event* e : interrupts) fds.push_back(pollfd{e->descriptor(), POLLIN, 0});
  for (;;) {
    const int ready = ::poll(fds.data(), fds.size(), msUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return PortWait::Failed;
    if (ready == 0) return PortWait::TimedOut;
    for (std::size_t i = 1; i < fds.size(); ++i)
      if (fds[i].revents != 0) return PortWait::Interrupted;
    if (fds[0].revents & events) return PortWait::Ready;
    if (fds[0].revents & kPortError) return PortWait::Failed;
  }
}

PortWrite writeToPort(int fd, PortKind kind, std::span<const std::uint8_t> bytes,
                      std::chrono::milliseconds limit, std::initializer_list<const Event*> interrupts) {
  // Set when the port is first found full: a write that goes out at once
  // needs no clock.
  std::optional<PortClock::time_point> deadline;
  bool portFailed = false;
  while (!bytes.empty()) {
    const ssize_t n = writeSome(fd, kind, bytes);
    if (n > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return {PortWrite::End::Failed, errno};
    // A port that reported an error and still takes nothing has failed.
    if (portFailed) return {PortWrite::End::Failed, EIO};
    // The port's output buffer is full: wait for room.
    if (!deadline) deadline = PortClock::now() + limit;
    switch (waitForPort(fd, POLLOUT, *deadline, interrupts)) {
      case PortWait::Ready:
        break;
      case PortWait::Failed:
        portFailed = true;  // the next write tells what failed
        break;
      case PortWait::TimedOut:
        return {PortWrite::End::TimedOut, 0};
      case PortWait::Interrupted:
        return {PortWrite::End::Interrupted, 0};
    }
  }
  return {};
}

}  // namespace orvane
