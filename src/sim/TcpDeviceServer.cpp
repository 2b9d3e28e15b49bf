#include "sim/TcpDeviceServer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include "platform/PortIo.h"
#include "protocol/FrameAssembler.h"
#include "protocol/ReplyKinds.h"

namespace orvane {

namespace {

constexpr int kBacklog = 4;
constexpr std::size_t kReadChunk = 1024;

using Bytes = std::vector<std::uint8_t>;

// A network rename or factory reset, acknowledged: the module restarts.
bool restartsModule(const Bytes& request, std::span<const std::uint8_t> reply) {
  return restartsNetworkModule(replyKindOf(request)) &&
         reply[FrameOffset::Cmd] == static_cast<std::uint8_t>(FrameCode::ReplyQ);
}

// Closes the connection with a reset rather than an orderly shutdown.
void resetConnection(NetSocket& socket) {
  if (!socket.valid()) return;
  sockets::setLinger(socket.fd(), true, 0);
  socket.reset();
}

}  // namespace

TcpDeviceServer::TcpDeviceServer(DeviceResponder& device, std::chrono::milliseconds sendLimit)
    : device_(device), sendLimit_(sendLimit) {}

TcpDeviceServer::~TcpDeviceServer() {
  stop();
}

bool TcpDeviceServer::start(const std::string& address, int port) {
  std::lock_guard lifecycle(lifecycleMutex_);
  if (thread_.joinable()) return false;
  in_addr parsed{};
  if (!sockets::parseIpv4(address, parsed) || port < 0 || port > 0xFFFF) return false;
  endpoint_ = NetEndpoint{address, static_cast<std::uint16_t>(port)};
  if (!listen()) return false;
  {
    std::lock_guard lock(mutex_);
    wanted_ = Control{};
    listening_ = true;
    running_ = true;
  }
  stop_.reset();
  controlEvent_.reset();
  thread_ = std::thread([this] { run(); });
  return true;
}

void TcpDeviceServer::stop() {
  std::lock_guard lifecycle(lifecycleMutex_);
  if (!thread_.joinable()) return;
  stop_.set();
  thread_.join();
  listener_.reset();
  std::lock_guard lock(mutex_);
  running_ = false;
  listening_ = false;
  controlApplied_.notify_all();
}

// Opens the listening socket on the endpoint; a port 0 is replaced by the
// one the system chose, so that listening again takes the same port.
bool TcpDeviceServer::listen() {
  NetSocket socket = NetSocket::listening(endpoint_, kBacklog);
  if (!socket.valid()) return false;
  port_ = endpoint_.port;
  listener_ = std::move(socket);
  return true;
}

void TcpDeviceServer::setFaults(const TcpServerFaults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
}

TcpServerFaults TcpDeviceServer::faults() const {
  std::lock_guard lock(mutex_);
  return faults_;
}

void TcpDeviceServer::setStreamObserver(StreamObserver observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

bool TcpDeviceServer::setRefusing(bool refuse) {
  if (!requestControl([refuse](Control& c) { c.refuse = refuse; })) return false;
  std::lock_guard lock(mutex_);
  return listening_ != refuse;
}

void TcpDeviceServer::dropConnection() {
  requestControl([](Control& c) { c.drop = true; });
}

// Hands a change to the server's thread and waits until it is carried out.
bool TcpDeviceServer::requestControl(const std::function<void(Control&)>& change) {
  std::unique_lock lock(mutex_);
  if (!running_) return false;
  change(wanted_);
  const long ticket = ++requested_;
  controlEvent_.set();
  controlApplied_.wait(lock, [&] { return applied_ >= ticket || !running_; });
  return running_;
}

// --- the server's thread ----------------------------------------------------

void TcpDeviceServer::run() {
  Connection connection;
  for (;;) {
    std::array<sockets::Watch, 4> fds{sockets::Watch::of(stop_), sockets::Watch::of(controlEvent_),
                                      // a socket that is not open is skipped
                                      sockets::Watch{listener_.fd(), POLLIN},
                                      sockets::Watch{connection.socket.fd(), POLLIN}};
    if (sockets::wait(fds, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents != 0) break;
    if (fds[1].revents != 0) {
      applyControl(connection);
      continue;
    }
    if (fds[3].revents != 0) readConnection(connection);
    if (fds[2].revents != 0) acceptConnection(connection);
  }
  connection.socket.reset();
  {
    std::lock_guard lock(mutex_);
    running_ = false;
  }
  controlApplied_.notify_all();
}

void TcpDeviceServer::acceptConnection(Connection& connection) {
  const NativeSocket fd = sockets::accept(listener_.fd(), true);
  if (fd == kNoSocket) return;
  connection = Connection{NetSocket(fd), {}, 0};
  // Replies, and every piece of a reply written in pieces, go out at once.
  connection.socket.setFrameOptions();
  ++accepted_;
}

void TcpDeviceServer::readConnection(Connection& connection) {
  std::array<std::uint8_t, kReadChunk> chunk{};
  const auto got = sockets::receive(connection.socket.fd(), chunk, true);
  if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return;
  if (got <= 0) {
    connection.socket.reset();
    return;
  }
  const std::span<const std::uint8_t> bytes(chunk.data(), static_cast<std::size_t>(got));
  StreamObserver observer;
  {
    std::lock_guard lock(mutex_);
    observer = observer_;
  }
  if (observer) observer(bytes);
  answerRequests(connection, connection.assembler.push(bytes));
}

void TcpDeviceServer::answerRequests(Connection& connection, const std::vector<Bytes>& requests) {
  for (const Bytes& request : requests) {
    if (!connection.socket.valid()) return;
    const std::optional<DeviceResponder::Frame> reply = device_.respond(request);
    if (!reply) continue;
    const TcpServerFaults faults = this->faults();
    if (!sendReply(connection.socket.fd(), *reply, faults)) {
      connection.socket.reset();
      return;
    }
    ++connection.replies;
    const bool enough = faults.closeAfterReplies > 0 && connection.replies >= faults.closeAfterReplies;
    if (enough || restartsModule(request, *reply)) connection.socket.reset();
  }
}

// False when the connection is gone, the client took no bytes within the
// send limit, or the server stops meanwhile.
bool TcpDeviceServer::sendReply(NativeSocket fd, std::span<const std::uint8_t> reply,
                                const TcpServerFaults& faults) {
  if (faults.replyDelay.count() > 0 && stop_.wait(faults.replyDelay)) return false;
  const std::size_t pieces = static_cast<std::size_t>(std::max(faults.replyPieces, 1));
  const std::size_t pieceSize = (reply.size() + pieces - 1) / pieces;
  for (std::size_t offset = 0; offset < reply.size(); offset += pieceSize) {
    if (offset > 0 && stop_.wait(faults.pieceGap)) return false;
    const auto piece = reply.subspan(offset, std::min(pieceSize, reply.size() - offset));
    if (writeToPort(fd, PortKind::Socket, piece, sendLimit_, {&stop_}).end != PortWrite::End::Written)
      return false;
  }
  return true;
}

void TcpDeviceServer::applyControl(Connection& connection) {
  controlEvent_.reset();
  Control wanted;
  long ticket = 0;
  {
    std::lock_guard lock(mutex_);
    wanted = wanted_;
    wanted_.drop = false;
    ticket = requested_;
  }
  if (wanted.drop) resetConnection(connection.socket);
  if (wanted.refuse) listener_.reset();
  const bool listening = listener_.valid() || (!wanted.refuse && listen());
  {
    std::lock_guard lock(mutex_);
    listening_ = listening;
    applied_ = ticket;
  }
  controlApplied_.notify_all();
}

}  // namespace orvane
