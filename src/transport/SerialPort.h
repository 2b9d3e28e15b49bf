#pragma once

// The serial / RS-485 link. An RS-485 bus carries up to 250 devices told
// apart by their device ID (frame byte 7); the editor talks to them through a
// serial port at 57600 baud, 8N1, without flow control.
//
// The port is a serial line of the platform (a terminal device, a COM port),
// the same for a USB adapter, a built-in port or the simulator's
// pseudo-terminal. One thread owns the open port: it writes the frame in flight, reads the reply one
// byte at a time into the serial link slot and applies this link's re-send
// and time-out rules:
//   - an ordinary frame is written once and again after each of its first
//     two time-outs; the third time-out gives the link up;
//   - a reply that fails its check is answered by writing the frame again at
//     once, without a limit;
//   - an ID-search probe waits one short answer window; silence moves the
//     search on to the next ID, and silence of ID 250 ends the search.
// The port's link thread sleeps in a wait for the port, its write event and
// its interruption at once, and between exchanges on its gate, which the
// worker opens with each write. It runs while the port is open and lets the
// port go (closes it) when it is parked or stopped.

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>

#include "platform/Event.h"
#include "platform/LinkThread.h"
#include "platform/SerialLine.h"
#include "transport/LinkContext.h"
#include "transport/Transport.h"

namespace orvane {

class SerialPort : public Transport {
 public:
  // A failing port ends an ID search through the context's hooks.
  explicit SerialPort(LinkContext context);
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the port named `address` (a device path such as /dev/ttyUSB0, or a
  // bare name such as ttyUSB0, looked up in /dev; in the Windows build a COM
  // port such as COM3) exclusively and sets it up; a failing set-up step is
  // reported as a port warning and the port is used regardless. False when
  // the port cannot be opened, is held by another program or is no serial
  // port at all.
  bool open(const std::string& address) override;
  LinkFault openFailure() const override;
  // Parks the port thread, which closes the port; returns promptly whatever
  // the thread was waiting for, and within a bounded time even when the
  // thread is held up (the port then opens again only once it has let go).
  void close() override;
  // The transmit frame of the serial slot is ready: write it.
  void signalWrite() override;
  // Closes for good; later opens fail. Safe to call more than once.
  void shutdown() override;

  // The device path `address` names (SerialLine::devicePath()).
  static std::string devicePath(const std::string& address);

 private:
  // A set-up step of the port failed: the port is used regardless.
  void warn(const char* step, const std::string& reason);

  // An ID-search probe in flight and the ID it probes.
  struct Probe {
    bool running;
    int id;
  };
  // The exchange in flight, the port thread's own: what this link's re-send
  // and time-out rules count.
  struct Exchange {
    bool awaitingReply = false;          // a frame was written, its reply is not complete
    int timeouts = 0;                    // since the frame was last written for a new exchange
    int emptyReads = 0;                  // reads in a row that found nothing
    bool rewrittenAfterTimeout = false;  // the first time-out's re-write is spent: once per frame
  };

  // --- the port thread ---
  // The thread's body: serves the port until parked or stopped, then closes
  // it.
  void serve();
  void closePort();
  std::chrono::milliseconds waitTime();
  void onWriteEvent();
  bool writeFrame(bool newExchange);
  void readReply();
  void countEmptyRead();
  void onTimeout();
  void lookAgain();
  Probe probeInFlight();
  void endProbe(int probedId);
  void discardInput();
  void portFailed();
  void linkLost();

  LinkContext context_;

  mutable std::mutex apiMutex_;  // open, close and shutdown, one at a time
  bool shutDown_ = false;
  SerialLine line_;    // opened by open() while the thread is parked, closed by the thread
  LinkFault failure_;  // why the last open() failed; guarded by apiMutex_

  Event write_;
  // The serial port gate: the thread passes it at the end of every pass of
  // its loop, so it rests between a taken reply and the next write.
  Event gate_;
  // Set when the link was given up; the thread then only waits to be
  // parked. Read and written on the port thread only.
  bool closeRequested_ = false;
  Exchange exchange_;  // the thread's; reset by open() while it is parked
  // signalWrite() handed over a new frame: its exchange starts afresh.
  std::atomic<bool> newFrame_{false};
  LinkThread thread_;
};

}  // namespace orvane
