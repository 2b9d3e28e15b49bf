#pragma once

// What the system does when someone asks a program to end (Ctrl+C, a
// service manager's request), and what a program polling a descriptor for
// it sees.

#include <chrono>

namespace orvane {

// Asks this process to stop, as Ctrl+C does.
void requestStop();
// Whether StopSignals::descriptor() becomes ready within `timeout`.
bool stopDescriptorReady(int descriptor, std::chrono::milliseconds timeout);

}  // namespace orvane
