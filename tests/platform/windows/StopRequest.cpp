#include "StopRequest.h"

#include <windows.h>

namespace orvane {

// Ctrl+C on the console: Windows calls the program's handler on a thread
// of its own.
void requestStop() {
  ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
}

bool stopDescriptorReady(int descriptor, std::chrono::milliseconds timeout) {
  return ::WaitForSingleObject(LongToHandle(descriptor), static_cast<DWORD>(timeout.count())) ==
         WAIT_OBJECT_0;
}

}  // namespace orvane
