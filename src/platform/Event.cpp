#include "platform/Event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <system_error>
#include <vector>

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

// Longer waits are cut to this, so the deadline never overflows.
constexpr auto kLongestWait = std::chrono::milliseconds(std::chrono::hours(24 * 7));

int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
}

}  // namespace

Event::Event() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

Event::~Event() {
  ::close(fd_);
}

void Event::set() {
  set_.store(true, std::memory_order_release);
  const std::uint64_t one = 1;
  // A full counter (EAGAIN) means the event is set already.
  [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
}

void Event::reset() {
  set_.store(false, std::memory_order_release);
  std::uint64_t count = 0;
  [[maybe_unused]] const auto taken = ::read(fd_, &count, sizeof count);
}

bool Event::isSet() const {
  return wait(std::chrono::milliseconds(0));
}

bool Event::wait(std::chrono::milliseconds timeout) const {
  const Event* self = this;
  return waitAny(std::span<const Event* const>(&self, 1), timeout).has_value();
}

std::optional<std::size_t> waitAny(std::span<const Event* const> events, std::chrono::milliseconds timeout) {
  std::vector<pollfd> fds(events.size());
  for (std::size_t i = 0; i < events.size(); ++i) fds[i] = pollfd{events[i]->descriptor(), POLLIN, 0};
  const auto deadline = Clock::now() + std::min(timeout, kLongestWait);
  for (;;) {
    const int ready = ::poll(fds.data(), fds.size(), remainingMs(deadline));
    if (ready < 0 && errno != EINTR) throw std::system_error(errno, std::generic_category(), "poll");
    for (std::size_t i = 0; ready > 0 && i < fds.size(); ++i) {
      if (fds[i].revents & POLLIN) {
        [[maybe_unused]] const bool seen = events[i]->set_.load(std::memory_order_acquire);
        return i;
      }
    }
    if (Clock::now() >= deadline) return std::nullopt;
  }
}

std::optional<std::size_t> waitAny(std::initializer_list<const Event*> events,
                                   std::chrono::milliseconds timeout) {
  return waitAny(std::span<const Event* const>(events.begin(), events.size()), timeout);
}

}  // namespace orvane
