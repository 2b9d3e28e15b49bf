#include "transport/NetPort.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#include "platform/PortIo.h"
#include "protocol/ReplyKinds.h"
#include "transport/EchoCheck.h"

namespace orvane {

namespace {

constexpr std::size_t kSendIndex = 0;
constexpr std::size_t kReceiveIndex = 1;
constexpr std::intptr_t kNetworkLink = static_cast<std::intptr_t>(LinkType::Network);
// Stale bytes are discarded in pieces of this size.
constexpr std::size_t kDiscardChunk = 4096;

// The errors by which a socket says that its connection is gone.
bool connectionLost(int error) {
  return error == ECONNRESET || error == ECONNABORTED || error == EPIPE || error == ENOTCONN ||
         error == ETIMEDOUT;
}

}  // namespace

NetPort::NetPort(LinkContext context, std::unique_ptr<EchoProbe> echo)
    : ctx_(context),
      echo_(echo ? std::move(echo) : std::make_unique<EchoCheck>(context.timings)),
      thread_([this] {
        serve();
        letGo();
      }) {}

NetPort::~NetPort() {
  shutdown();
}

bool NetPort::open(const std::string& address) {
  // A link still open is closed first; while its thread has not let it go,
  // no new one opens.
  close();
  failure_ = LinkFault{LinkFault::Cause::Unknown, LinkType::Network, address};
  if (shutDown_ || !thread_.parked()) return false;
  const std::optional<NetEndpoint> endpoint = parseNetEndpoint(address, ctx_.timings.netPort);
  if (!endpoint) {
    failure_ = LinkFault{LinkFault::Cause::NotIpv4, LinkType::Network, address};
    return false;
  }
  endpoint_ = *endpoint;
  if (connect() != Attempt::Done) {
    socket_.reset();
    const std::string at = endpoint_.host + ":" + std::to_string(endpoint_.port);
    failure_ = connectError_ != 0 ? LinkFault::fromError(LinkType::Network, at, connectError_)
                                  : LinkFault{LinkFault::Cause::NoEcho, LinkType::Network, endpoint_.host};
    return false;
  }
  givenUp_ = false;
  closedByPeer_ = false;
  exchange_ = Exchange{};
  replyDrained_ = false;
  newFrame_ = false;
  thread_.resume();
  return true;
}

// Nothing is sent or reported lost from here on. The thread lets the link
// go when it parks; close() waits for that a bounded time only, so that a
// thread held up in a step of its own cannot freeze the caller.
void NetPort::close() {
  givenUp_ = true;
  thread_.park(ctx_.timings.netParkWait);
}

void NetPort::signalWrite() {
  newFrame_ = true;
  send_.set();
}

void NetPort::shutdown() {
  shutDown_ = true;
  thread_.stop();
  socket_.reset();
}

// --- the thread ---------------------------------------------------------

void NetPort::serve() {
  const std::array<const Event*, 2> events{&send_, &receive_};
  for (;;) {
    const auto signalled = thread_.wait(events, ctx_.timings.netEventWait);
    if (!signalled) continue;
    switch (*signalled) {
      case LinkThread::kInterrupted:
        return;
      case kSendIndex:
        sendFrame();
        break;
      case kReceiveIndex:
        receiveReply();
        break;
      default:
        break;
    }
  }
}

// Closes the connection and clears the events, on the thread before it
// parks.
void NetPort::letGo() {
  socket_.reset();
  for (Event* e : {&send_, &receive_}) {
    e->reset();
    std::this_thread::sleep_for(ctx_.timings.netEventResetPause);
  }
}

// --- connecting -------------------------------------------------------------

NetPort::Attempt NetPort::connect() {
  const int echo = echo_->check(endpoint_.host);
  lastEcho_ = echo;
  connectError_ = 0;
  if (EchoResult::stopsConnection(echo)) return Attempt::Failed;
  NetSocket socket;
  const Attempt attempt = connectTcp(socket);
  if (attempt == Attempt::Done) socket_ = std::move(socket);
  return attempt;
}

NetPort::Attempt NetPort::connectTcp(NetSocket& socket) {
  const auto failed = [this](int error) {
    connectError_ = error;
    return Attempt::Failed;
  };
  socket.reset(sockets::openTcp(true));
  if (!socket.valid()) return failed(errno);
  const NativeSocket fd = socket.fd();
  if (sockets::connect(fd, endpoint_.socketAddress()) != 0) {
    if (errno != EINPROGRESS && errno != EINTR) return failed(errno);
    const PortWait ready = waitForPort(fd, POLLOUT, PortClock::now() + ctx_.timings.netConnectTimeout,
                                       {&thread_.interruption()});
    if (ready == PortWait::Interrupted) return Attempt::Interrupted;
    if (ready == PortWait::TimedOut) return failed(ETIMEDOUT);
    int error = 0;
    if (sockets::pendingError(fd, error) != 0) return failed(errno);
    if (error != 0) return failed(error);
  }
  // The socket stays non-blocking: every wait on it is a poll() that also
  // watches the stop and suspend events and has a deadline.
  socket.setFrameOptions();
  if (sockets::setTimeout(fd, SO_RCVTIMEO, ctx_.timings.netReceiveTimeout) != 0) return failed(errno);
  return Attempt::Done;
}

NetPort::Attempt NetPort::reconnect() {
  socket_.reset();
  return connect();
}

// --- one exchange -----------------------------------------------------------

void NetPort::sendFrame() {
  if (newFrame_.exchange(false)) exchange_ = Exchange{};
  const std::optional<Outgoing> frame = givenUp_ ? std::nullopt : takeOutgoing();
  if (!frame) {
    send_.reset();
    return;
  }
  if (!std::exchange(replyDrained_, false)) discardStaleBytes();
  const SendOutcome outcome = sendBytes(frame->wire());
  // Closing or shutting down: the thread returns to its events, which say so.
  if (outcome == SendOutcome::Interrupted) return;
  const auto unsentKind = static_cast<std::intptr_t>(
      restartsNetworkModule(frame->replyKind) ? frame->replyKind : ReplyKind::None);
  // A device that takes no bytes for so long is not there to carry frames,
  // whatever else it does (it may still be sending).
  if (outcome == SendOutcome::TimedOut) {
    send_.reset();
    linkLost(unsentKind);
    return;
  }
  if (outcome == SendOutcome::ConnectionLost) {
    closedByPeer_ = true;
    if (countReconnect() <= ctx_.timings.netReconnects) {
      const Attempt attempt = reconnect();
      // Connected: the send event stays set and the frame goes out again.
      if (attempt != Attempt::Failed) return;
    }
    send_.reset();
    linkLost(unsentKind);
    return;
  }
  // Any other send error leaves the exchange to the worker's reply wait.
  if (outcome == SendOutcome::Sent) receive_.set();
  send_.reset();
  if (restartsNetworkModule(frame->replyKind)) linkLost(outcome == SendOutcome::Sent ? 0 : unsentKind);
}

std::optional<NetPort::Outgoing> NetPort::takeOutgoing() {
  return ctx_.slot.withFrames([](const SendData& transmit, SendData& receive) -> std::optional<Outgoing> {
    if (!transmit.ready) return std::nullopt;
    // The reply is assembled afresh: a bad reply, or part of one cut off by
    // a lost connection, must not run into the reply to this sending.
    receive.clearFrom(0);
    Outgoing out;
    const auto wire = transmit.wire();
    std::copy(wire.begin(), wire.end(), out.bytes.begin());
    out.bytes[wire.size()] = 0;
    out.size = wire.size() + 1;
    out.replyKind = transmit.replyKind;
    return out;
  });
}

// Bytes that arrived after the last reply was complete (a device answering
// twice) would otherwise be taken as the start of the next reply. Only what
// waits now is discarded: a device that keeps sending cannot hold the frame
// back. A frame carried on straight after a reply skips the look: the
// reply's read took all there was a moment before (what followed the reply
// in it was dropped), and the look would cost a system call on every idle
// exchange.
void NetPort::discardStaleBytes() {
  int waiting = 0;
  if (sockets::bytesWaiting(socket_.fd(), waiting) != 0 || waiting <= 0) return;
  // Not cleared: it is only written into.
  std::array<std::uint8_t, kDiscardChunk> sink;
  for (auto left = static_cast<std::size_t>(waiting); left > 0;) {
    const auto got = sockets::receive(socket_.fd(), std::span(sink).first(std::min(left, sink.size())), true);
    if (got <= 0) return;
    left -= std::min(left, static_cast<std::size_t>(got));
  }
}

NetPort::SendOutcome NetPort::sendBytes(std::span<const std::uint8_t> bytes) {
  const PortWrite write = writeToPort(socket_.fd(), PortKind::Socket, bytes, ctx_.timings.netSendTimeout,
                                      {&thread_.interruption()});
  switch (write.end) {
    case PortWrite::End::Written:
      return SendOutcome::Sent;
    case PortWrite::End::TimedOut:
      return SendOutcome::TimedOut;
    case PortWrite::End::Interrupted:
      return SendOutcome::Interrupted;
    case PortWrite::End::Failed:
      break;
  }
  return connectionLost(write.error) ? SendOutcome::ConnectionLost : SendOutcome::OtherError;
}

// Reads reply chunks until a frame completes. The reply is often in already
// when the thread comes to read it (the device answered while the send was
// still returning): then one recv() takes it, without a poll() first.
// Otherwise, and after each chunk that leaves the reply incomplete, the
// thread waits for the port. Interrupted reads and reads that found nothing
// after all wait again; 3 s without data, the peer closing the connection or
// any other error is a failure, and so is a reply still incomplete at its
// deadline though bytes keep coming (a peer that streams something other
// than replies).
void NetPort::receiveReply() {
  std::array<std::uint8_t, kReceiveChunk> chunk{};
  // Set at the first wait: a reply taken at once needs no clock.
  std::optional<PortClock::time_point> deadline;
  for (bool wait = false;; wait = true) {
    if (wait) {
      const auto now = PortClock::now();
      if (!deadline) deadline = now + ctx_.timings.netReplyDeadline;
      if (now >= *deadline) return receiveFailed();
      const auto silence = now + ctx_.timings.netReceiveTimeout;
      const PortWait ready =
          waitForPort(socket_.fd(), POLLIN, std::min(silence, *deadline), {&thread_.interruption()});
      if (ready == PortWait::Interrupted) return;
      if (ready != PortWait::Ready) return receiveFailed(ready == PortWait::Failed);
    } else if (thread_.interrupted()) {
      return;
    }
    const auto got = sockets::receive(socket_.fd(), chunk, false);
    if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (got <= 0) return receiveFailed(got == 0 || connectionLost(errno));
    if (!ctx_.slot.parse(std::span(chunk).first(static_cast<std::size_t>(got)), ctx_.dispatcher)) continue;
    const bool bad = ctx_.slot.withFrames([](const SendData&, const SendData& r) { return r.rxBad; });
    if (!bad) {
      receive_.reset();
      // The worker's next frame, if it can be had at once, goes out from
      // this thread.
      if (!givenUp_ && ctx_.hooks.carryPass(LinkType::Network)) {
        replyDrained_ = static_cast<std::size_t>(got) < chunk.size();
        signalWrite();
      } else {
        ctx_.replyEvent.set();
      }
      return;
    }
    // A device that cannot answer the connection check must not be asked
    // for ever.
    if (givenUp_ || ctx_.hooks.connectionCheckPending()) return receiveFailed();
    receive_.reset();
    send_.set();
    return;
  }
}

void NetPort::receiveFailed(bool peerClosed) {
  receive_.reset();
  if (givenUp_) return;
  closedByPeer_ = peerClosed;
  if (countReconnect() > ctx_.timings.netReconnects) return linkLost(0);
  const Attempt attempt = reconnect();
  if (attempt == Attempt::Done) send_.set();
  if (attempt == Attempt::Failed) {
    closedByPeer_ = false;  // nothing takes the connection any more: the device went
    linkLost(0);
  }
}

int NetPort::countReconnect() {
  return ++exchange_.reconnects;
}

// Reported once per link, and not for a link that is being closed.
void NetPort::linkLost(std::intptr_t lParam) {
  if (givenUp_.exchange(true)) return;
  ctx_.notifier.post(Message::LinkLost, kNetworkLink, lParam);
}

}  // namespace orvane
