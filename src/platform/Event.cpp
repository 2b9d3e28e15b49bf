#include "platform/Event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;

// Longer waits are cut to this, so the deadline never overflows.
constexpr auto kLongestWait = std::chrono::milliseconds(std::chrono::hours(24 * 7));

// Rounded up: a wait cut short by rounding down would poll again and again
// with no time-out until the deadline passed, spinning for up to a
// millisecond.
int remainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, std::numeric_limits<int>::max()));
}

std::optional<std::size_t> lowestSet(std::span<const Event* const> events) {
  for (std::size_t i = 0; i < events.size(); ++i)
    if (events[i]->isSet()) return i;
  return std::nullopt;
}

}  // namespace

Event::Event() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

Event::~Event() {
  ::close(fd_);
}

void Event::set() {
  std::lock_guard lock(mutex_);
  set_.store(true, std::memory_order_seq_cst);
  if (descriptorOut_ || pollers_.load(std::memory_order_seq_cst) > 0) signalDescriptor();
}

void Event::reset() {
  std::lock_guard lock(mutex_);
  set_.store(false, std::memory_order_release);
  if (!signalled_) return;
  std::uint64_t count = 0;
  [[maybe_unused]] const auto taken = ::read(fd_, &count, sizeof count);
  signalled_ = false;
}

int Event::descriptor() const {
  std::lock_guard lock(mutex_);
  descriptorOut_ = true;
  if (set_.load(std::memory_order_relaxed)) signalDescriptor();
  return fd_;
}

void Event::signalDescriptor() const {
  if (signalled_) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(fd_, &one, sizeof one);
  signalled_ = true;
}

bool Event::wait(std::chrono::milliseconds timeout) const {
  const Event* self = this;
  return waitAny(std::span<const Event* const>(&self, 1), timeout).has_value();
}

std::optional<std::size_t> waitAny(std::span<const Event* const> events, std::chrono::milliseconds timeout) {
  if (events.size() > kMaxWaitEvents) throw std::length_error("waitAny: too many events");
  if (auto set = lowestSet(events)) return set;
  for (const Event* e : events) e->pollers_.fetch_add(1, std::memory_order_seq_cst);
  const auto countOut = [&] {
    for (const Event* e : events) e->pollers_.fetch_sub(1, std::memory_order_relaxed);
  };
  // Set before the count went up: a setter that did not see this waiter.
  std::optional<std::size_t> found = lowestSet(events);
  std::array<pollfd, kMaxWaitEvents> fds{};
  for (std::size_t i = 0; i < events.size(); ++i) fds[i] = pollfd{events[i]->fd_, POLLIN, 0};
  const auto deadline = Clock::now() + std::min(timeout, kLongestWait);
  while (!found) {
    const int ready = ::poll(fds.data(), events.size(), remainingMs(deadline));
    if (ready < 0 && errno != EINTR) {
      const int error = errno;
      countOut();
      throw std::system_error(error, std::generic_category(), "poll");
    }
    found = lowestSet(events);
    if (Clock::now() >= deadline) break;
  }
  countOut();
  return found;
}

std::optional<std::size_t> waitAny(std::initializer_list<const Event*> events,
                                   std::chrono::milliseconds timeout) {
  return waitAny(std::span<const Event* const>(events.begin(), events.size()), timeout);
}

}  // namespace orvane
