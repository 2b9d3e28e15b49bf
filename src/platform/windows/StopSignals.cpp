#include "platform/StopSignals.h"

#include <windows.h>

#include "platform/Event.h"

namespace orvane {

// Windows tells a console program of Ctrl+C, Ctrl+Break, the console window
// being closed, the user logging off and the system shutting down by
// calling a handler on a thread of its own. The handler sets the stop
// event main waits for. After a close, log-off or shut-down Windows ends
// the process as soon as the handler returns, so the handler then waits
// until main has stopped its links (StopSignals going away), within the few
// seconds Windows grants anyway.

namespace {

// Windows ends the process a little after this in any case.
constexpr auto kLongestCleanUp = std::chrono::seconds(5);

// One pair for the process, since the handler is one for the process; the
// events outlive every StopSignals, so a handler that is still waking when
// main lets go of its StopSignals finds them there.
struct Requests {
  Event stop;
  Event finished;
};

Requests& requests() {
  static Requests kept;
  return kept;
}

BOOL WINAPI onConsoleEvent(DWORD type) {
  Requests& r = requests();
  r.stop.set();
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
    r.finished.wait(kLongestCleanUp);
  return TRUE;
}

}  // namespace

struct StopSignals::State {
  Requests& requests;
};

StopSignals::StopSignals() : state_(std::make_unique<State>(State{requests()})) {
  state_->requests.stop.reset();
  state_->requests.finished.reset();
  ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopSignals::~StopSignals() {
  ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
  state_->requests.finished.set();
}

bool StopSignals::waitFor(std::chrono::milliseconds timeout) {
  return state_->requests.stop.wait(timeout);
}

void StopSignals::wait() {
  while (!state_->requests.stop.wait(std::chrono::hours(24))) {
  }
}

int StopSignals::descriptor() {
  return state_->requests.stop.descriptor();
}

}  // namespace orvane
