#include "platform/StopSignals.h"

#include <pthread.h>

#include <csignal>
#include <thread>

namespace orvane {

// SIGINT and SIGTERM are blocked before any thread starts, so every thread
// inherits the mask and the signals stay pending until the watch thread
// takes them with sigwait and sets the event.

struct StopSignals::Watch {
  sigset_t signals{};
  std::thread thread;
};

StopSignals::StopSignals() : watch_(std::make_unique<Watch>()) {
  sigemptyset(&watch_->signals);
  sigaddset(&watch_->signals, SIGINT);
  sigaddset(&watch_->signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &watch_->signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  watch_->thread = std::thread([this] {
    int signal = 0;
    while (sigwait(&watch_->signals, &signal) != 0) {
    }
    stop_.set();
  });
}

// A SIGTERM of its own ends the watch when no request came; after one, the
// thread has ended and the signal goes nowhere.
StopSignals::~StopSignals() {
  pthread_kill(watch_->thread.native_handle(), SIGTERM);
  watch_->thread.join();
}

}  // namespace orvane
