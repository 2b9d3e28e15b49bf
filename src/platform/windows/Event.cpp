#include "platform/Event.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <system_error>

namespace orvane {

// The event object follows the flag: both change together under the lock,
// so a wait for the object never misses a set, and a set object is always
// a set event. Windows keeps a handle's value within 32 bits, so it is kept
// in the int the other builds keep their descriptor in.

namespace {

using Clock = std::chrono::steady_clock;

// Longer waits are cut to this, so the deadline never overflows.
constexpr auto kLongestWait = std::chrono::milliseconds(std::chrono::hours(24 * 7));

HANDLE handleOf(int value) {
  return LongToHandle(value);
}

// Rounded up, so a wait never ends before its deadline.
DWORD msUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<DWORD>(std::max<long long>(left, 0));
}

std::optional<std::size_t> firstSet(std::span<const Event* const> events) {
  const auto set = std::find_if(events.begin(), events.end(), [](const Event* e) { return e->isSet(); });
  if (set == events.end()) return std::nullopt;
  return static_cast<std::size_t>(set - events.begin());
}

}  // namespace

Event::Event() {
  const HANDLE handle = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (handle == nullptr)
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEvent");
  fd_ = HandleToLong(handle);
}

Event::~Event() {
  ::CloseHandle(handleOf(fd_));
}

void Event::set() {
  std::lock_guard lock(mutex_);
  if (set_.load(std::memory_order_relaxed)) return;
  set_.store(true, std::memory_order_seq_cst);
  ::SetEvent(handleOf(fd_));
}

void Event::reset() {
  std::lock_guard lock(mutex_);
  if (!set_.load(std::memory_order_relaxed)) return;
  set_.store(false, std::memory_order_release);
  ::ResetEvent(handleOf(fd_));
}

int Event::descriptor() const {
  return fd_;
}

bool Event::wait(std::chrono::milliseconds timeout) const {
  const Event* self = this;
  return waitAny(std::span<const Event* const>(&self, 1), timeout).has_value();
}

std::optional<std::size_t> waitAny(std::span<const Event* const> events, std::chrono::milliseconds timeout) {
  if (events.size() > kMaxWaitEvents) throw std::length_error("waitAny: too many events");
  std::array<HANDLE, kMaxWaitEvents> handles{};
  std::transform(events.begin(), events.end(), handles.begin(),
                 [](const Event* e) { return handleOf(e->fd_); });
  const auto deadline = Clock::now() + std::min(timeout, kLongestWait);
  // An event reset again between the wake-up and the look at its flag does
  // not count: the wait goes on.
  std::optional<std::size_t> found = firstSet(events);
  while (!found) {
    const DWORD woken =
        ::WaitForMultipleObjects(static_cast<DWORD>(events.size()), handles.data(), FALSE, msUntil(deadline));
    if (woken == WAIT_FAILED)
      throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                              "WaitForMultipleObjects");
    found = firstSet(events);
    if (woken == WAIT_TIMEOUT || Clock::now() >= deadline) break;
  }
  return found;
}

std::optional<std::size_t> waitAny(std::initializer_list<const Event*> events,
                                   std::chrono::milliseconds timeout) {
  return waitAny(std::span<const Event* const>(events.begin(), events.size()), timeout);
}

}  // namespace orvane
