#include "bridge/BridgeServer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "bridge/Durations.h"

namespace orvane {

namespace {

constexpr int kBacklog = 4;
constexpr std::size_t kReadChunk = 1024;
// A client computer that vanished without closing its connection is found
// within about a minute.
constexpr int kKeepAliveIdle = 30;
constexpr int kKeepAliveInterval = 10;
constexpr int kKeepAliveProbes = 3;

std::string nameOf(const sockaddr_in& address) {
  return sockets::ipv4Text(address.sin_addr) + ":" + std::to_string(ntohs(address.sin_port));
}

void setUpClient(const NetSocket& socket) {
  socket.setFrameOptions();
  sockets::setKeepAlive(socket.fd(), kKeepAliveIdle, kKeepAliveInterval, kKeepAliveProbes);
}

enum class SendEnd { Sent, TimedOut, Failed };

// Sends all of `bytes` within `limit` in all: however the client's window
// opens and closes meanwhile, a client that takes a reply slowly cannot
// hold the bridge longer than that.
SendEnd sendWithin(NativeSocket fd, const std::vector<std::uint8_t>& bytes, std::chrono::milliseconds limit) {
  const auto deadline = BridgeServer::Clock::now() + limit;
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const long n = sockets::send(fd, std::span(bytes).subspan(sent), true);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) return SendEnd::Failed;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - BridgeServer::Clock::now());
    if (left.count() <= 0) return SendEnd::TimedOut;
    sockets::Watch room{fd, POLLOUT};
    if (sockets::wait(std::span(&room, 1), static_cast<int>(left.count())) < 0 && errno != EINTR)
      return SendEnd::Failed;
  }
  return SendEnd::Sent;
}

}  // namespace

BridgeServer::BridgeServer(const BridgeOptions& options, DeviceRelay& device, BridgeLog& log, Limits limits)
    : options_(options),
      device_(device),
      log_(log),
      limits_(limits),
      deviceRetry_(limits.deviceRetry),
      refusals_(log, limits.refusalWindow) {}

bool BridgeServer::listen() {
  NetSocket socket(sockets::openTcp(false));
  sockaddr_in address = options_.listen.socketAddress();
  const std::string wanted = options_.listen.host + ":" + std::to_string(options_.listen.port);
  if (socket.valid()) sockets::reuseAddress(socket.fd());
  if (!socket.valid() || sockets::bind(socket.fd(), address) != 0 ||
      sockets::listen(socket.fd(), kBacklog) != 0 || sockets::localAddress(socket.fd(), address) != 0) {
    log_.write("cannot listen on " + wanted + ": " + std::strerror(errno));
    return false;
  }
  listener_ = std::move(socket);
  port_ = ntohs(address.sin_port);
  log_.write("listening on " + nameOf(address) + " for editors of the device on " + device_.description() +
             (options_.allow.empty() ? "" : "; clients limited by --allow"));
  return true;
}

void BridgeServer::run(const Event& stop) {
  constexpr std::size_t clientAt = 2;
  constexpr std::size_t lostAt = 3;
  constexpr std::size_t finishedAt = 4;
  openDevice();
  for (;;) {
    // An entry with neither socket nor event is skipped.
    std::array<sockets::Watch, 5> fds{
        sockets::Watch::of(stop), sockets::Watch{listener_.fd(), POLLIN},
        sockets::Watch{client_.fd(), POLLIN},
        device_.isOpen() ? sockets::Watch::of(device_.lost()) : sockets::Watch{},
        exchanging_ ? sockets::Watch::of(device_.finished()) : sockets::Watch{}};

    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextWake() - Clock::now());
    const int timeout =
        nextWake() == Clock::time_point::max() ? -1 : static_cast<int>(std::max<long>(wait.count(), 0));
    if (sockets::wait(fds, timeout) < 0 && errno != EINTR) break;
    if (fds[0].revents != 0) break;
    if (fds[lostAt].revents != 0) {
      onDeviceLost();
    } else if (fds[finishedAt].revents != 0) {
      finishExchange();
    }
    if (fds[clientAt].revents != 0 && client_.valid()) readClient();
    if (fds[1].revents != 0) acceptClient();
    checkTimers();
    sendNextRequest();
  }
  log_.write("stopping");
  refusals_.flushAll();
  if (client_.valid()) dropClient("disconnected: the bridge stops");
  device_.close();
}

BridgeServer::Clock::time_point BridgeServer::nextWake() const {
  Clock::time_point wake = Clock::time_point::max();
  if (!device_.isOpen()) wake = std::min(wake, deviceRetry_.nextOpen());
  if (exchanging_) wake = std::min(wake, exchangeDeadline_);
  if (assembler_.holdsPartial()) wake = std::min(wake, partialSince_ + limits_.partialFrame);
  if (client_.valid() && !clientWaits()) wake = std::min(wake, lastHeard_ + limits_.clientIdle);
  return std::min(wake, refusals_.nextFlush());
}

void BridgeServer::acceptClient() {
  sockaddr_in peer{};
  NetSocket socket(sockets::accept(listener_.fd(), false, &peer));
  if (!socket.valid()) return;
  const std::string name = nameOf(peer);
  std::string refusal;
  if (!options_.allow.permits(peer.sin_addr))
    refusal = "it is not in the --allow list";
  else if (client_.valid())
    refusal = "client " + clientName_ + " is connected (one client at a time)";
  else if (!device_.isOpen())
    refusal = "the device link is not open";
  if (!refusal.empty()) {
    refusals_.refused(peer, refusal, Clock::now());
    return;  // closing the socket tells the client
  }
  setUpClient(socket);
  client_ = std::move(socket);
  clientName_ = name;
  ++clientNumber_;
  assembler_ = FrameAssembler{};
  lastHeard_ = Clock::now();
  log_.write("client " + name + " connected");
}

void BridgeServer::readClient() {
  std::array<std::uint8_t, kReadChunk> chunk{};
  const long got = sockets::receive(client_.fd(), chunk, true);
  if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return;
  if (got <= 0) {
    dropClient("disconnected");
    return;
  }
  lastHeard_ = Clock::now();
  const bool wasPartial = assembler_.holdsPartial();
  queue(assembler_.push(std::span(chunk).first(static_cast<std::size_t>(got))));
  if (!wasPartial) partialSince_ = lastHeard_;
}

void BridgeServer::queue(std::vector<Frame> requests) {
  for (Frame& request : requests) {
    if (requests_.size() >= limits_.queuedRequests) {
      log_.write("client " + clientName_ + ": a request was dropped; " + std::to_string(requests_.size()) +
                 " wait for the device already");
      continue;
    }
    requests_.push_back(std::move(request));
  }
}

void BridgeServer::dropClient(const std::string& why) {
  log_.write("client " + clientName_ + " " + why);
  client_.reset();
  clientName_.clear();
  assembler_ = FrameAssembler{};
  requests_.clear();
}

bool BridgeServer::clientWaits() const {
  return !requests_.empty() || (exchanging_ && exchangeFor_ == clientNumber_);
}

void BridgeServer::sendNextRequest() {
  if (exchanging_ || requests_.empty() || !device_.isOpen()) return;
  device_.send(requests_.front());
  requests_.pop_front();
  exchanging_ = true;
  exchangeFor_ = clientNumber_;
  exchangeDeadline_ = Clock::now() + limits_.exchangeLimit;
}

void BridgeServer::finishExchange() {
  exchanging_ = false;
  const std::optional<Frame> reply = device_.takeReply();
  // Without a reply the link gave up; its lost event says so next. A reply
  // to a client that has gone is not for the one that came after it.
  if (reply) deviceAnswered_ = true;
  if (!reply || !client_.valid() || exchangeFor_ != clientNumber_) return;
  switch (sendWithin(client_.fd(), *reply, limits_.replySend)) {
    case SendEnd::Sent:
      lastHeard_ = Clock::now();
      break;
    case SendEnd::TimedOut:
      dropClient("disconnected: it took no reply within " + describe(limits_.replySend));
      break;
    case SendEnd::Failed:
      dropClient("disconnected");
      break;
  }
}

void BridgeServer::onDeviceLost() {
  // A link that never carried an answer was no link to the device: on the
  // RS-485 bus, nothing answers to its ID.
  if (deviceRetry_.change(LinkRetry::State::Lost, {}))
    log_.write(deviceAnswered_ ? "device link lost (" + device_.description() + ")"
                               : "device link lost: " + device_.silence().text());
  if (client_.valid()) dropClient("disconnected: the device link was lost");
  exchanging_ = false;
  device_.close();
}

void BridgeServer::openDevice() {
  if (device_.open()) {
    deviceAnswered_ = false;
    if (deviceRetry_.change(LinkRetry::State::Open, {}))
      log_.write("device link open (" + device_.description() + ")");
    return;
  }
  const std::string why = device_.openFailure().text();
  if (deviceRetry_.change(LinkRetry::State::Lost, why))
    log_.write("device link cannot be opened: " + why + "; trying again every " +
               describe(limits_.deviceRetry));
}

void BridgeServer::checkTimers() {
  const Clock::time_point now = Clock::now();
  if (exchanging_ && now >= exchangeDeadline_) {
    log_.write("the device did not answer within " + describe(limits_.exchangeLimit));
    onDeviceLost();
  }
  if (!device_.isOpen() && now >= deviceRetry_.nextOpen()) openDevice();
  if (client_.valid() && !clientWaits() && now >= lastHeard_ + limits_.clientIdle)
    dropClient("disconnected: it sent nothing for " + describe(limits_.clientIdle));
  refusals_.flush(now);
  if (assembler_.holdsPartial() && now >= partialSince_ + limits_.partialFrame) {
    // A frame is written in one go: a start left unfinished was noise.
    queue(assembler_.lineIdle());
    partialSince_ = now;
  }
}

}  // namespace orvane
