#pragma once

// Waiting for and writing to a port's non-blocking descriptor (a serial port,
// a TCP connection) without ever waiting unbounded: every wait ends when the
// port is ready, when a deadline passes, or when one of the given events is
// set, so a port thread that is being stopped or parked never stays behind
// in a wait for its port, and a peer that takes no bytes cannot hold a
// writer for longer than its deadline.

#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "platform/Event.h"
#include "platform/Socket.h"

namespace orvane {

using PortClock = std::chrono::steady_clock;

enum class PortWait : std::uint8_t {
  Ready,        // the port reports the awaited readiness
  Failed,       // the port reports an error or a hang-up instead
  TimedOut,     // the deadline passed first
  Interrupted,  // one of the events was set (it wins over readiness)
};

// Waits until `fd` reports `events` (poll() flags). A port is a socket, or
// outside the Windows build a terminal as well (there a serial port waits
// for its overlapped reads and writes instead).
PortWait waitForPort(NativeSocket fd, short events, PortClock::time_point deadline,
                     std::initializer_list<const Event*> interrupts);

// A socket is written with send(), so that a connection the peer closed
// reports an error instead of raising SIGPIPE; a terminal with write().
enum class PortKind : std::uint8_t { Terminal, Socket };

struct PortWrite {
  enum class End : std::uint8_t { Written, Failed, TimedOut, Interrupted };
  End end = End::Written;
  int error = 0;  // the errno of a failed write
};

// Writes all of `bytes`, waiting for room in the port whenever it is full,
// for `limit` at most in all from the first time it is found full.
PortWrite writeToPort(NativeSocket fd, PortKind kind, std::span<const std::uint8_t> bytes,
                      std::chrono::milliseconds limit, std::initializer_list<const Event*> interrupts);

// One write of what the port takes at once, without waiting: the bytes
// written, or -1 with errno.
long writeSomeToPort(NativeSocket fd, PortKind kind, std::span<const std::uint8_t> bytes);

}  // namespace orvane
