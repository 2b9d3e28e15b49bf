#include "platform/StopSignals.h"

#include <windows.h>

#include <mutex>

namespace orvane {

// Windows tells a console program of Ctrl+C, Ctrl+Break, the console window
// being closed, the user logging off and the system shutting down by
// calling a handler on a thread of its own; the handler sets the stop event
// of the StopSignals in place. After a close, log-off or shut-down Windows
// ends the process as soon as the handler returns, so the handler then
// waits until main has stopped its links (its StopSignals going away),
// within the few seconds Windows grants anyway.

namespace {

// Windows ends the process a little after this in any case.
constexpr auto kLongestCleanUp = std::chrono::seconds(5);

// The handler is one for the process, and so is what it reaches: the
// current stop event, and the event that says main has finished, which
// outlives every StopSignals.
struct Handover {
  std::mutex mutex;
  Event* stop = nullptr;
  Event finished;
};

Handover& handover() {
  static Handover kept;
  return kept;
}

BOOL WINAPI onConsoleEvent(DWORD type) {
  Handover& h = handover();
  {
    std::lock_guard lock(h.mutex);
    if (h.stop) h.stop->set();
  }
  if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
    h.finished.wait(kLongestCleanUp);
  return TRUE;
}

}  // namespace

struct StopSignals::Watch {};

StopSignals::StopSignals() {
  Handover& h = handover();
  {
    std::lock_guard lock(h.mutex);
    h.stop = &stop_;
    h.finished.reset();
  }
  ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopSignals::~StopSignals() {
  ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
  Handover& h = handover();
  {
    std::lock_guard lock(h.mutex);
    h.stop = nullptr;
  }
  h.finished.set();
}

}  // namespace orvane
