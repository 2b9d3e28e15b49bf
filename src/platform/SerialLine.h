#pragma once

// One open serial port, as the serial link uses it: opened exclusively and
// set to raw 57600 baud, 8N1, no flow control, RTS asserted; bytes written
// whole within a bound, the bytes waiting read without blocking, and a wait
// for the next byte that also ends when one of the link thread's events is
// set, so the thread never stays behind in a wait for its port.
//
// A terminal device through termios (the same for a USB adapter, a built-in
// port and the simulator's pseudo-terminal); in the Windows build a COM port
// through overlapped file I/O, where no transfer outlives the call that
// started it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/Event.h"

namespace orvane {

class SerialLine {
 public:
  // A set-up step that failed: its name and the system's text for why. The
  // port is used regardless.
  using Warning = std::function<void(const char* step, const std::string& reason)>;

  // Why an open failed: an errno value (the Windows build maps its error
  // codes onto the same values), and the system's own words when no value
  // says it.
  struct OpenError {
    int error = 0;
    std::string detail;
  };

  // What ended a wait for the port.
  struct Wake {
    enum class Kind : std::uint8_t { Event, Readable, Failed, TimedOut };
    Kind kind = Kind::TimedOut;
    std::size_t event = 0;  // the lowest index among the events set, for Kind::Event
  };

  SerialLine();
  ~SerialLine();
  SerialLine(const SerialLine&) = delete;
  SerialLine& operator=(const SerialLine&) = delete;

  // The path the port named `address` is opened by: a bare name such as
  // ttyUSB0 is looked up in /dev; in the Windows build a name such as COM3
  // becomes \\.\COM3. Paths are kept as given.
  static std::string devicePath(const std::string& address);

  // Opens the port at `path` exclusively and sets it up, closing the port
  // opened before. Fails when the port is missing, held by another program
  // or no serial port at all; a set-up step that fails is told to `warn`.
  std::optional<OpenError> open(const std::string& path, const Warning& warn);
  void close();
  bool isOpen() const;

  // Discards what waits unread and what waits unsent.
  void purge();
  // Discards what waits unread; false when the port failed.
  bool purgeInput();

  // Waits up to `timeout` for a byte to read, for the port to fail or for
  // one of `events` to be set; a set event wins over the port.
  Wake wait(std::chrono::milliseconds timeout, std::initializer_list<const Event*> events);
  // Reads what waits, as much as fits in `buffer`, without waiting: the
  // count read, 0 when nothing waits, nothing when the port failed.
  std::optional<std::size_t> readWaiting(std::span<std::uint8_t> buffer);
  // Writes all of `bytes`, for `limit` at most once the port is found full,
  // and gives up as soon as one of `interrupts` is set. True when all of
  // them went out.
  bool write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds limit,
             std::initializer_list<const Event*> interrupts);

 private:
  // The open port, each system's own; null when closed.
  struct Port;
  std::unique_ptr<Port> port_;
};

}  // namespace orvane
