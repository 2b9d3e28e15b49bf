#pragma once

// The signals that stop a program serving devices or clients until told to
// end (SIGINT from Ctrl+C, SIGTERM from a service manager). Blocking them
// in main before any thread starts leaves them to main, which waits for
// them; a peer that goes away makes a write fail rather than end the program.

#include <pthread.h>

#include <csignal>

namespace orvane {

inline sigset_t blockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  return signals;
}

}  // namespace orvane
