#include "transport/SerialPort.h"

#include <array>
#include <cstdio>
#include <vector>

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
  return SerialLine::devicePath(address);
}

bool SerialPort::open(const std::string& address) {
  std::lock_guard lock(apiMutex_);
  const std::string path = devicePath(address);
  failure_ = LinkFault{LinkFault::Cause::Unknown, LinkType::Serial, path};
  if (shutDown_ || !thread_.park(kParkWait) || path.empty()) return false;
  const auto error =
      line_.open(path, [this](const char* step, const std::string& reason) { warn(step, reason); });
  if (error) {
    failure_ = LinkFault::fromError(LinkType::Serial, path, error->error);
    failure_.detail = error->detail;
    return false;
  }
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

void SerialPort::warn(const char* step, const std::string& reason) {
  std::array<char, 512> text{};
  std::snprintf(text.data(), text.size(), "WARNING:  %s Failed with the following error: \n%s\nPort: %d\n",
                step, reason.c_str(), kWarningPort);
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
  line_.close();
}

// --- the port thread --------------------------------------------------------

// Every wait of the thread also watches its interruption, so the thread
// lets the port go at once wherever it is.
void SerialPort::serve() {
  closeRequested_ = false;
  line_.purge();
  for (;;) {
    if (closeRequested_) {
      while (thread_.pause(kForever)) {
      }
      return;
    }
    const SerialLine::Wake woken = line_.wait(waitTime(), {&thread_.interruption(), &write_});
    switch (woken.kind) {
      case SerialLine::Wake::Kind::Event:
        if (woken.event == 0) return;
        onWriteEvent();
        break;
      case SerialLine::Wake::Kind::Failed:
        portFailed();
        break;
      case SerialLine::Wake::Kind::Readable:
        if (!exchange_.awaitingReply) {
          discardInput();
        } else {
          readReply();
          thread_.pause(context_.timings.serialAfterRead);
        }
        break;
      case SerialLine::Wake::Kind::TimedOut:
        onTimeout();
        break;
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
  line_.purge();
  if (!line_.write(wire, kWriteTimeout, {&thread_.interruption()})) {
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

// Takes the waiting bytes into the receive frame one at a time until a frame
// completes or no byte waits. A reply that fails its check is asked for
// again at once; a good one ends the exchange.
void SerialPort::readReply() {
  std::array<std::uint8_t, kReadChunk> buffer{};
  while (!thread_.interrupted()) {
    const std::optional<std::size_t> n = line_.readWaiting(buffer);
    if (!n) {
      portFailed();
      return;
    }
    if (*n == 0) {
      countEmptyRead();
      return;
    }
    exchange_.emptyReads = 0;
    for (std::size_t i = 0; i < *n; ++i) {
      if (!context_.slot.parse(std::span(&buffer[i], 1), context_.dispatcher)) continue;
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
  if (!line_.purgeInput()) portFailed();
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
