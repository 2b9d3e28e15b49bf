#include "StopRequest.h"

#include <poll.h>
#include <pthread.h>

#include <csignal>

namespace orvane {

// SIGINT, as a terminal sends it for Ctrl+C; sent to this thread, where it
// is blocked, it stays pending for the program to take.
void requestStop() {
  pthread_kill(pthread_self(), SIGINT);
}

bool stopDescriptorReady(int descriptor, std::chrono::milliseconds timeout) {
  pollfd entry{descriptor, POLLIN, 0};
  return ::poll(&entry, 1, static_cast<int>(timeout.count())) == 1;
}

}  // namespace orvane
