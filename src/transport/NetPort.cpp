#include "transport/NetPort.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <initializer_list>

#include "transport/EchoCheck.h"

namespace orvane {

namespace {

constexpr std::size_t kStopIndex = 0;
constexpr std::size_t kSuspendIndex = 1;
constexpr std::size_t kSendIndex = 2;
constexpr std::size_t kReceiveIndex = 3;
constexpr std::intptr_t kNetworkLink = static_cast<std::intptr_t>(LinkType::Network);
// A device that neither accepts nor refuses a connection (its address
// answered the echo, so it is there) is given this long.
constexpr auto kConnectTimeout = std::chrono::seconds(5);

// The errors by which a socket says that its connection is gone.
bool connectionLost(int error) {
  return error == ECONNRESET || error == ECONNABORTED || error == EPIPE || error == ENOTCONN ||
         error == ETIMEDOUT;
}

bool restartsModule(ReplyKind kind) {
  return kind == ReplyKind::NetworkNameWrite || kind == ReplyKind::NetworkFactoryReset;
}

enum class Ready : std::uint8_t { Yes, TimedOut, Interrupted };

// Waits until `fd` reports `events` (or an error), the time-out passes or
// one of `interrupts` is set.
Ready waitFor(int fd, short events, std::chrono::milliseconds timeout,
              std::initializer_list<const Event*> interrupts) {
  std::array<pollfd, 3> fds{};
  fds[0] = pollfd{fd, events, 0};
  std::size_t count = 1;
  for (const Event* e : interrupts) fds[count++] = pollfd{e->descriptor(), POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const int ready = ::poll(fds.data(), count, static_cast<int>(std::max<long long>(left.count(), 0)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return Ready::TimedOut;
    for (std::size_t i = 1; i < count; ++i)
      if (fds[i].revents != 0) return Ready::Interrupted;
    return Ready::Yes;
  }
}

timeval toTimeval(std::chrono::milliseconds ms) {
  return timeval{static_cast<time_t>(ms.count() / 1000), static_cast<suseconds_t>(ms.count() % 1000 * 1000)};
}

}  // namespace

NetPort::NetPort(LinkContext context, ParameterImage& image, std::unique_ptr<EchoProbe> echo)
    : ctx_(context),
      image_(image),
      echo_(echo ? std::move(echo) : std::make_unique<EchoCheck>(context.timings)),
      thread_([this] { run(); }) {}

NetPort::~NetPort() {
  shutdown();
}

bool NetPort::open(const std::string& address) {
  // A link still open is closed first.
  bool running = false;
  {
    std::lock_guard lock(stateMutex_);
    if (stopRequested_) return false;
    running = !parked();
  }
  if (running || socket_.valid()) close();
  const std::optional<NetEndpoint> endpoint = parseNetEndpoint(address, ctx_.timings.netPort);
  if (!endpoint) return false;
  endpoint_ = *endpoint;
  if (connect() != Attempt::Done) {
    socket_.reset();
    return false;
  }
  givenUp_ = false;
  {
    std::lock_guard lock(stateMutex_);
    resumeRequested_ = true;
  }
  stateChanged_.notify_all();
  return true;
}

void NetPort::close() {
  park();
  // The stop event is left alone: a shutdown that set it must still end the
  // thread.
  for (Event* e : {&suspend_, &send_, &receive_}) {
    e->reset();
    std::this_thread::sleep_for(ctx_.timings.netEventResetPause);
  }
  socket_.reset();
  givenUp_ = true;
}

void NetPort::signalWrite() {
  send_.set();
}

void NetPort::shutdown() {
  std::lock_guard lifecycle(lifecycleMutex_);
  {
    std::lock_guard lock(stateMutex_);
    stopRequested_ = true;
  }
  stateChanged_.notify_all();
  stop_.set();
  if (thread_.joinable()) thread_.join();
  socket_.reset();
}

// --- the thread ---------------------------------------------------------

void NetPort::run() {
  for (;;) {
    {
      std::unique_lock lock(stateMutex_);
      running_ = false;
      stateChanged_.notify_all();
      stateChanged_.wait(lock, [this] { return resumeRequested_ || stopRequested_; });
      if (stopRequested_) {
        finished_ = true;
        stateChanged_.notify_all();
        return;
      }
      resumeRequested_ = false;
      running_ = true;
    }
    serve();
  }
}

void NetPort::serve() {
  const std::array<const Event*, 4> events{&stop_, &suspend_, &send_, &receive_};
  for (;;) {
    const auto signalled = waitAny(events, ctx_.timings.netEventWait);
    if (!signalled) continue;
    switch (*signalled) {
      case kStopIndex:
      case kSuspendIndex:
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

void NetPort::park() {
  std::unique_lock lock(stateMutex_);
  if (parked()) return;
  suspend_.set();
  stateChanged_.wait(lock, [this] { return parked(); });
}

// Called with the state lock held.
bool NetPort::parked() const {
  return finished_ || (!running_ && !resumeRequested_);
}

// --- connecting -------------------------------------------------------------

NetPort::Attempt NetPort::connect() {
  const int echo = echo_->check(endpoint_.host);
  lastEcho_ = echo;
  if (EchoResult::stopsConnection(echo)) return Attempt::Failed;
  NetSocket socket;
  const Attempt attempt = connectTcp(socket);
  if (attempt == Attempt::Done) socket_ = std::move(socket);
  return attempt;
}

NetPort::Attempt NetPort::connectTcp(NetSocket& socket) {
  socket.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (!socket.valid()) return Attempt::Failed;
  const int fd = socket.fd();
  const sockaddr_in to = endpoint_.socketAddress();
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
    if (errno != EINPROGRESS && errno != EINTR) return Attempt::Failed;
    const Ready ready = waitFor(fd, POLLOUT, kConnectTimeout, {&stop_, &suspend_});
    if (ready == Ready::Interrupted) return Attempt::Interrupted;
    if (ready == Ready::TimedOut) return Attempt::Failed;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return Attempt::Failed;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return Attempt::Failed;
  // Without it a frame that follows a reply closely waits for the delayed
  // acknowledgement; a link that works without it is still worth keeping.
  const int on = 1;
  [[maybe_unused]] const int nodelay = ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  const timeval receiveTimeout = toTimeval(ctx_.timings.netReceiveTimeout);
  if (::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receiveTimeout, sizeof receiveTimeout) != 0)
    return Attempt::Failed;
  return Attempt::Done;
}

NetPort::Attempt NetPort::reconnect() {
  socket_.reset();
  return connect();
}

// --- one exchange -----------------------------------------------------------

void NetPort::sendFrame() {
  const std::optional<Outgoing> frame = givenUp_ ? std::nullopt : takeOutgoing();
  if (!frame) {
    send_.reset();
    return;
  }
  discardStaleBytes();
  const SendOutcome outcome = sendBytes(frame->bytes);
  const auto unsentKind =
      static_cast<std::intptr_t>(restartsModule(frame->replyKind) ? frame->replyKind : ReplyKind::None);
  if (outcome == SendOutcome::ConnectionLost) {
    if (countRetry() <= ctx_.timings.netReconnects) {
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
  if (restartsModule(frame->replyKind)) linkLost(outcome == SendOutcome::Sent ? 0 : unsentKind);
}

std::optional<NetPort::Outgoing> NetPort::takeOutgoing() {
  return ctx_.slot.withFrames([](const SendData& transmit, SendData& receive) -> std::optional<Outgoing> {
    if (!transmit.ready) return std::nullopt;
    // The reply is assembled afresh: a bad reply, or part of one cut off by
    // a lost connection, must not run into the reply to this sending.
    receive.clearFrom(0);
    Outgoing out;
    out.bytes.assign(transmit.wire().begin(), transmit.wire().end());
    out.bytes.push_back(0);
    out.replyKind = transmit.replyKind;
    return out;
  });
}

// Bytes that arrived after the last reply was complete (a device answering
// twice) would otherwise be taken as the start of the next reply.
void NetPort::discardStaleBytes() {
  std::array<std::uint8_t, kReceiveChunk> sink{};
  while (::recv(socket_.fd(), sink.data(), sink.size(), MSG_DONTWAIT) > 0) {
  }
}

NetPort::SendOutcome NetPort::sendBytes(const std::vector<std::uint8_t>& bytes) {
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const auto sent = ::send(socket_.fd(), bytes.data() + offset, bytes.size() - offset, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      return connectionLost(errno) ? SendOutcome::ConnectionLost : SendOutcome::OtherError;
    }
    offset += static_cast<std::size_t>(sent);
  }
  return SendOutcome::Sent;
}

// Reads reply chunks until a frame completes. Interrupted reads and reads
// that found nothing after all are repeated; 3 s without data, the peer
// closing the connection or any other error is a failure.
void NetPort::receiveReply() {
  std::array<std::uint8_t, kReceiveChunk> chunk{};
  for (;;) {
    const Ready ready = waitFor(socket_.fd(), POLLIN, ctx_.timings.netReceiveTimeout, {&stop_, &suspend_});
    if (ready == Ready::Interrupted) return;
    if (ready == Ready::TimedOut) return receiveFailed();
    const auto got = ::recv(socket_.fd(), chunk.data(), chunk.size(), 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (got <= 0) return receiveFailed();
    if (!ctx_.slot.parse(std::span(chunk).first(static_cast<std::size_t>(got)), ctx_.dispatcher)) continue;
    const bool bad = ctx_.slot.withFrames([](const SendData&, const SendData& r) { return r.rxBad; });
    if (!bad) {
      receive_.reset();
      ctx_.replyEvent.set();
      return;
    }
    // A device that cannot answer the connection check must not be asked
    // for ever.
    if (givenUp_ || connectionCheckPending()) return receiveFailed();
    receive_.reset();
    send_.set();
    return;
  }
}

void NetPort::receiveFailed() {
  receive_.reset();
  if (givenUp_) return;
  if (countRetry() > ctx_.timings.netReconnects) return linkLost(0);
  const Attempt attempt = reconnect();
  if (attempt == Attempt::Done) send_.set();
  if (attempt == Attempt::Failed) linkLost(0);
}

int NetPort::countRetry() {
  return ctx_.slot.withFrames([](SendData& transmit, SendData&) { return ++transmit.retries; });
}

bool NetPort::connectionCheckPending() const {
  return image_.read([](const ImageData& d) { return d.status.connectionCheckPending; });
}

void NetPort::linkLost(std::intptr_t lParam) {
  givenUp_ = true;
  ctx_.notifier.post(Message::LinkLost, kNetworkLink, lParam);
}

}  // namespace orvane
