#include "transport/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/PortIo.h"
#include "protocol/ReplyKinds.h"

namespace orvane {

namespace {

using std::chrono::milliseconds;

// The longest a frame may take to leave the port before the port counts as
// failed: the port's write time-out.
constexpr milliseconds kWriteTimeout{3000};
// Waits with no time-out of their own.
constexpr auto kForever = std::chrono::hours(24);
// The longest close() waits for the thread to let the port go: every wait
// of the thread ends at once when it is parked.
constexpr std::chrono::seconds kParkWait{10};
constexpr std::intptr_t kSerialLink = static_cast<std::intptr_t>(LinkType::Serial);
// The ID whose probe ends a search of the bus.
constexpr int kLastId = ConnectionState::kMaxDeviceId;
// The port number the set-up warnings name.
constexpr int kWarningPort = 0;
constexpr std::size_t kReadChunk = 512;
// The time-outs of one written frame, in turn; the one after them gives the
// link up.
constexpr int kLookAgainTimeout = 1;  // look for a late reply once more
constexpr int kRewriteTimeout = 2;    // write the frame again
constexpr short kPortError = POLLERR | POLLHUP | POLLNVAL;

int pollTimeout(milliseconds wait) {
  return static_cast<int>(std::clamp<long long>(wait.count(), 0, INT_MAX));
}

}  // namespace

SerialPort::SerialPort(LinkContext context)
    : context_(context), thread_([this] {
        serve();
        closePort();
      }) {}

SerialPort::~SerialPort() {
  shutdown();
}

std::string SerialPort::devicePath(const std::string& address) {
  if (address.empty() || address.find('/') != std::string::npos) return address;
  return "/dev/" + address;
}

bool SerialPort::open(const std::string& address) {
  std::lock_guard lock(apiMutex_);
  const std::string path = devicePath(address);
  failure_ = LinkFault{LinkFault::Cause::Unknown, LinkType::Serial, path};
  if (shutDown_ || !thread_.park(kParkWait) || path.empty()) return false;
  const int fd = openPort(path);
  if (fd < 0) return false;
  configure(fd);
  fd_ = fd;
  exchange_ = Exchange{};
  newFrame_ = false;
  write_.reset();
  gate_.reset();
  thread_.resume();
  return true;
}

LinkFault SerialPort::openFailure() const {
  std::lock_guard lock(apiMutex_);
  return failure_;
}

int SerialPort::openPort(const std::string& path) {
  const auto failed = [&](int error, int fd) {
    if (fd >= 0) ::close(fd);
    failure_ = LinkFault::fromError(LinkType::Serial, path, error);
    return -1;
  };
  // Non-blocking, so that opening never waits for a modem line and the
  // port thread's reads and writes never block it.
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return failed(errno, fd);
  // Only a terminal can be a serial port. Anything else typed into the
  // port box (a file, say) is closed again untouched, never written to.
  if (!::isatty(fd)) return failed(ENOTTY, fd);
  // Another program holding the port (another editor, a terminal program
  // that locks its port) keeps it: two writers on one bus corrupt each
  // other's frames.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) return failed(EBUSY, fd);
    warn("flock()", error);
  }
  return fd;
}

// Raw 57600 baud, 8 data bits, no parity, 1 stop bit, no flow control of
// either kind, RTS held asserted (many RS-485 adapters switch their driver
// with it), both directions purged. A step that fails is reported and the
// port is used as it is.
void SerialPort::configure(int fd) {
  if (::ioctl(fd, TIOCEXCL) != 0) warn("ioctl(TIOCEXCL)", errno);
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) warn("tcgetattr()", errno);
  ::cfmakeraw(&settings);
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (::cfsetispeed(&settings, B57600) != 0 || ::cfsetospeed(&settings, B57600) != 0)
    warn("cfsetspeed()", errno);
  if (::tcsetattr(fd, TCSANOW, &settings) != 0) warn("tcsetattr()", errno);
  // A pseudo-terminal has no modem lines; that is no fault.
  int rts = TIOCM_RTS;
  if (::ioctl(fd, TIOCMBIS, &rts) != 0 && errno != ENOTTY && errno != EINVAL) warn("ioctl(TIOCMBIS)", errno);
  if (::tcflush(fd, TCIOFLUSH) != 0) warn("tcflush()", errno);
}

void SerialPort::warn(const char* step, int error) {
  std::array<char, 512> text{};
  std::snprintf(text.data(), text.size(), "WARNING:  %s Failed with the following error: \n%s\nPort: %d\n",
                step, std::strerror(error), kWarningPort);
  context_.notifier.portWarning(text.data());
}

void SerialPort::close() {
  std::lock_guard lock(apiMutex_);
  thread_.park(kParkWait);
}

void SerialPort::shutdown() {
  std::lock_guard lock(apiMutex_);
  shutDown_ = true;
  thread_.stop();
  closePort();
}

void SerialPort::signalWrite() {
  newFrame_ = true;
  write_.set();
  gate_.set();
}

void SerialPort::closePort() {
  if (fd_ < 0) return;
  // The exclusive mark outlives this descriptor while someone else holds
  // the terminal open (the simulator keeps its end open); lift it so the
  // port can be opened again.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

// --- the port thread --------------------------------------------------------

// Every wait of the thread also watches its interruption, so the thread
// lets the port go at once wherever it is.
void SerialPort::serve() {
  closeRequested_ = false;
  ::tcflush(fd_, TCIOFLUSH);
  for (;;) {
    if (closeRequested_) {
      while (thread_.pause(kForever)) {
      }
      return;
    }
    std::array<pollfd, 3> fds{{{thread_.interruption().descriptor(), POLLIN, 0},
                               {write_.descriptor(), POLLIN, 0},
                               {fd_, POLLIN, 0}}};
    const int ready = ::poll(fds.data(), fds.size(), pollTimeout(waitTime()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      portFailed();
      continue;
    }
    if (fds[0].revents & POLLIN) return;
    if (fds[1].revents & POLLIN) {
      onWriteEvent();
    } else if (fds[2].revents & kPortError) {
      portFailed();
    } else if (fds[2].revents & POLLIN) {
      if (!exchange_.awaitingReply) {
        discardInput();
      } else {
        readReply();
        thread_.pause(context_.timings.serialAfterRead);
      }
    } else if (ready == 0) {
      onTimeout();
    }
    if (closeRequested_) continue;
    if (thread_.wait({&gate_}, kForever) == LinkThread::kInterrupted) return;
  }
}

// How long to wait for the next byte, by what the frame in flight waits for.
milliseconds SerialPort::waitTime() {
  const Timings& t = context_.timings;
  return context_.slot.withFrames([&](const SendData& tx, const SendData& rx) {
    if (tx.showProgress) {
      if (tx.idProbe) return t.serialIdProbe;
      if (exchange_.awaitingReply) return rx.rxSynced ? t.serialTransferSynced : t.serialTransferAwaiting;
      return t.serialTransferOther;
    }
    if (rx.rxSynced) return t.serialSynced;
    if (restartsNetworkModule(tx.replyKind)) return t.serialLongOperation;
    if (tx.replyKind == ReplyKind::NetworkNameRead) return t.serialNameRead;
    return t.serialOther;
  });
}

// The worker handed over a frame, or a bad reply asked for the frame again.
// After a network rename or factory reset the device is busy for a while
// before it answers.
void SerialPort::onWriteEvent() {
  if (newFrame_.exchange(false)) exchange_ = Exchange{};
  const ReplyKind kind =
      context_.slot.withFrames([](const SendData& tx, const SendData&) { return tx.replyKind; });
  if (writeFrame(true) && restartsNetworkModule(kind)) thread_.pause(context_.timings.serialAfterLongWrite);
}

// Writes the frame in flight whole. Whatever waits unread goes first: it
// belongs to no exchange any more, so the receive frame starts empty too. A
// re-write within an exchange keeps the exchange's time-out count.
bool SerialPort::writeFrame(bool newExchange) {
  write_.reset();
  std::vector<std::uint8_t> wire;
  context_.slot.withFrames([&](const SendData& tx, const SendData&) {
    if (tx.ready) wire.assign(tx.wire().begin(), tx.wire().end());
  });
  if (wire.empty()) return false;
  ::tcflush(fd_, TCIOFLUSH);
  if (!writeAll(wire.data(), wire.size())) {
    if (thread_.interrupted()) return false;
    portFailed();
    return false;
  }
  context_.slot.clear(false);
  if (newExchange) exchange_.timeouts = 0;
  exchange_.emptyReads = 0;
  exchange_.awaitingReply = true;
  return true;
}

bool SerialPort::writeAll(const std::uint8_t* data, std::size_t size) {
  return writeToPort(fd_, PortKind::Terminal, {data, size}, kWriteTimeout, {&thread_.interruption()}).end ==
         PortWrite::End::Written;
}

// Takes the waiting bytes into the receive frame one at a time until a frame
// completes or no byte waits. A reply that fails its check is asked for
// again at once; a good one ends the exchange.
void SerialPort::readReply() {
  std::array<std::uint8_t, kReadChunk> buffer{};
  while (!thread_.interrupted()) {
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0) {
      portFailed();
      return;
    }
    if (waiting <= 0) {
      countEmptyRead();
      return;
    }
    const ssize_t n = ::read(fd_, buffer.data(), std::min(static_cast<std::size_t>(waiting), buffer.size()));
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) {
      portFailed();
      return;
    }
    exchange_.emptyReads = 0;
    for (ssize_t i = 0; i < n; ++i) {
      if (!context_.slot.parse(std::span(&buffer[static_cast<std::size_t>(i)], 1), context_.dispatcher))
        continue;
      // Bytes after a completed frame belong to no exchange; the next write
      // purges the port anyway.
      const bool bad = context_.slot.withFrames([](const SendData&, const SendData& rx) { return rx.rxBad; });
      exchange_.awaitingReply = false;
      if (bad) {
        context_.slot.clear(false);
        write_.set();
      } else if (context_.hooks.carryPass(LinkType::Serial)) {
        // The worker's next frame, if it can be had at once, goes out
        // from this thread.
        signalWrite();
      } else {
        gate_.reset();
        context_.replyEvent.set();
      }
      return;
    }
  }
}

// A read that found nothing. Enough of them in a row end a probe's answer
// window, or give the link up.
void SerialPort::countEmptyRead() {
  const int emptyReads = ++exchange_.emptyReads;
  const Probe probe = probeInFlight();
  if (probe.running && emptyReads == context_.timings.serialProbeIdleReads) {
    endProbe(probe.id);
  } else if (emptyReads > context_.timings.serialIdleReadLimit) {
    context_.slot.clear(true);
    exchange_.awaitingReply = false;
    linkLost();
  }
}

// The wait for the next byte ran out while a reply was awaited. A probe's
// answer window is over; an ordinary frame's time-outs take their turns.
void SerialPort::onTimeout() {
  if (!exchange_.awaitingReply) return;
  const Probe probe = probeInFlight();
  if (probe.running) {
    endProbe(probe.id);
    return;
  }
  switch (++exchange_.timeouts) {
    case kLookAgainTimeout:
      lookAgain();
      return;
    case kRewriteTimeout:
      writeFrame(false);
      return;
    default:
      linkLost();
  }
}

// A reply may have come just too late: look once more, then write the frame
// again unless that settled it. Once per frame only, and not when the look
// ended the exchange, gave the link up or asked for a re-write of its own: a
// second copy on the bus would collide with the answer.
void SerialPort::lookAgain() {
  thread_.pause(context_.timings.serialRetryReadPause);
  readReply();
  if (closeRequested_ || write_.isSet() || exchange_.rewrittenAfterTimeout) return;
  const bool inFlight =
      context_.slot.withFrames([](const SendData& tx, const SendData&) { return tx.ready; });
  if (inFlight && writeFrame(false)) exchange_.rewrittenAfterTimeout = true;
}

SerialPort::Probe SerialPort::probeInFlight() {
  return context_.slot.withFrames([](const SendData& tx, const SendData&) {
    return Probe{tx.idProbe, tx.progressPos};
  });
}

// No device answered the probed ID: the search moves on, or ends after the
// last ID.
void SerialPort::endProbe(int probedId) {
  context_.slot.clear(true);
  exchange_.awaitingReply = false;
  if (probedId == kLastId) {
    linkLost();
    return;
  }
  gate_.reset();
  context_.replyEvent.set();
}

// Bytes that arrive while no reply is awaited answer nothing; left unread
// they would wake the thread again and again.
void SerialPort::discardInput() {
  if (::tcflush(fd_, TCIFLUSH) != 0) portFailed();
}

// The port failed (the adapter was unplugged, the simulator went away). A
// search of the bus ends here, so the connection dialog shows what was found
// so far and the user learns that the port failed.
void SerialPort::portFailed() {
  if (context_.hooks.endIdSearch()) context_.notifier.idSearchEnded();
  linkLost();
}

// Gives the link up. The message names the special operation in flight only
// when its reply had begun to arrive.
void SerialPort::linkLost() {
  closeRequested_ = true;
  const auto kind = context_.slot.withFrames(
      [](const SendData& tx, const SendData& rx) { return rx.rxCount > 0 ? tx.replyKind : ReplyKind::None; });
  context_.notifier.post(Message::LinkLost, kSerialLink, static_cast<std::intptr_t>(kind));
}

}  // namespace orvane
