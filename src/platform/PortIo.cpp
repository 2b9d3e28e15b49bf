#include "platform/PortIo.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <optional>

namespace orvane {

namespace {

constexpr short kPortError = POLLERR | POLLHUP | POLLNVAL;
// The port and the most events any waiter gives.
constexpr std::size_t kMostWatches = 1 + kMaxWaitEvents;

int msUntil(PortClock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - PortClock::now());
  return static_cast<int>(std::clamp<long long>(left.count(), 0, INT_MAX));
}

}  // namespace

PortWait waitForPort(NativeSocket fd, short events, PortClock::time_point deadline,
                     std::initializer_list<const Event*> interrupts) {
  std::array<sockets::Watch, kMostWatches> watches{};
  watches[0] = sockets::Watch{fd, events};
  std::size_t count = 1;
  for (const Event* e : interrupts) watches.at(count++) = sockets::Watch::of(*e);
  const std::span<sockets::Watch> watched(watches.data(), count);
  for (;;) {
    const int ready = sockets::wait(watched, msUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return PortWait::Failed;
    if (ready == 0) return PortWait::TimedOut;
    for (std::size_t i = 1; i < count; ++i)
      if (watched[i].revents != 0) return PortWait::Interrupted;
    if (watched[0].revents & events) return PortWait::Ready;
    if (watched[0].revents & kPortError) return PortWait::Failed;
  }
}

PortWrite writeToPort(NativeSocket fd, PortKind kind, std::span<const std::uint8_t> bytes,
                      std::chrono::milliseconds limit, std::initializer_list<const Event*> interrupts) {
  // Set when the port is first found full: a write that goes out at once
  // needs no clock.
  std::optional<PortClock::time_point> deadline;
  bool portFailed = false;
  while (!bytes.empty()) {
    const long n = writeSomeToPort(fd, kind, bytes);
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
