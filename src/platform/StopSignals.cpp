#include "platform/StopSignals.h"

#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>
#include <ctime>

namespace orvane {

// SIGINT and SIGTERM are blocked in main before any thread starts, so every
// thread inherits the mask and the signals stay pending until main takes
// them with sigtimedwait, or reads them from a signalfd.

struct StopSignals::State {
  sigset_t signals{};
  int fd = -1;
  bool stopped = false;
};

StopSignals::StopSignals() : state_(std::make_unique<State>()) {
  sigemptyset(&state_->signals);
  sigaddset(&state_->signals, SIGINT);
  sigaddset(&state_->signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &state_->signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals() {
  if (state_->fd >= 0) ::close(state_->fd);
}

bool StopSignals::waitFor(std::chrono::milliseconds timeout) {
  if (state_->stopped) return true;
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
  const timespec wait{static_cast<time_t>(seconds.count()),
                      static_cast<long>(std::chrono::nanoseconds(timeout - seconds).count())};
  const int signal = sigtimedwait(&state_->signals, nullptr, &wait);
  state_->stopped = signal == SIGINT || signal == SIGTERM;
  return state_->stopped;
}

void StopSignals::wait() {
  int signal = 0;
  while (!state_->stopped) state_->stopped = sigwait(&state_->signals, &signal) == 0;
}

int StopSignals::descriptor() {
  if (state_->fd < 0) state_->fd = ::signalfd(-1, &state_->signals, SFD_CLOEXEC);
  return state_->fd;
}

}  // namespace orvane
