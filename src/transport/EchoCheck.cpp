#include "transport/EchoCheck.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <limits>
#include <thread>

#include "transport/NetSocket.h"

namespace orvane {

namespace {

constexpr std::size_t kReceiveBufferSize = 1024;

// An ICMP socket with its destination.
class SocketChannel : public EchoChannel {
 public:
  SocketChannel(NetSocket socket, const sockaddr_in& to, EchoDatagram form, std::uint16_t identifier)
      : socket_(std::move(socket)), to_(to), form_(form), identifier_(identifier) {}

  std::uint16_t identifier() const override { return identifier_; }
  EchoDatagram form() const override { return form_; }

  bool send(std::span<const std::uint8_t> request) override {
    for (;;) {
      const auto sent = ::sendto(socket_.fd(), request.data(), request.size(), MSG_NOSIGNAL,
                                 reinterpret_cast<const sockaddr*>(&to_), sizeof to_);
      if (sent >= 0) return static_cast<std::size_t>(sent) == request.size();
      if (errno != EINTR) return false;
    }
  }

  Received receive(std::span<std::uint8_t> buffer, std::size_t& size) override {
    for (;;) {
      const auto got = ::recv(socket_.fd(), buffer.data(), buffer.size(), 0);
      if (got >= 0) {
        size = static_cast<std::size_t>(got);
        return Received::Datagram;
      }
      if (errno == EAGAIN || errno == EWOULDBLOCK) return Received::TimedOut;
      if (errno != EINTR) return Received::Failed;
    }
  }

 private:
  NetSocket socket_;
  sockaddr_in to_;
  EchoDatagram form_;
  std::uint16_t identifier_;
};

int openFailure() {
  return errno == EPERM || errno == EACCES ? EchoResult::NotPermitted : EchoResult::SocketFailed;
}

bool setTimeouts(int fd, std::chrono::milliseconds timeout) {
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(timeout).count();
  const timeval tv{static_cast<time_t>(us / 1'000'000), static_cast<suseconds_t>(us % 1'000'000)};
  return ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) == 0 &&
         ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) == 0;
}

// An ICMP datagram socket's identifier is its local "port": the kernel
// writes it into every request and hands the socket only the answers that
// echo it. Binding asks for the program's own identifier; when another
// socket holds that one, the kernel's choice is read back.
bool bindIdentifier(int fd, std::uint16_t& identifier) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  // The identifier goes on the wire in the host's byte order, exactly as
  // the port field holds it.
  local.sin_port = identifier;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    local.sin_port = 0;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return false;
  }
  socklen_t length = sizeof local;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) return false;
  identifier = local.sin_port;
  return true;
}

// Opens the ICMP socket of `kind`; a result code when it cannot.
int openChannel(EchoCheck::Socket kind, const sockaddr_in& to, std::chrono::milliseconds timeout,
                std::unique_ptr<EchoChannel>& channel) {
  const bool raw = kind == EchoCheck::Socket::Raw;
  NetSocket socket(::socket(AF_INET, (raw ? SOCK_RAW : SOCK_DGRAM) | SOCK_CLOEXEC, IPPROTO_ICMP));
  if (!socket.valid()) return openFailure();
  if (!setTimeouts(socket.fd(), timeout)) return EchoResult::OptionFailed;
  std::uint16_t identifier = echoIdentifier();
  if (!raw && !bindIdentifier(socket.fd(), identifier)) return EchoResult::SocketFailed;
  channel = std::make_unique<SocketChannel>(
      std::move(socket), to, raw ? EchoDatagram::WithIpHeader : EchoDatagram::IcmpOnly, identifier);
  return 0;
}

int elapsedSince(std::uint32_t tick) {
  const std::uint32_t elapsed = echoTick() - tick;
  return static_cast<int>(std::min<std::uint32_t>(elapsed, std::numeric_limits<int>::max()));
}

}  // namespace

// A raw socket sees every ICMP message of the computer: its own request on
// the loopback interface, and the pings of other programs. Such a message
// is no answer but does not end the attempt either: it listens on for the
// rest of its time, so that a busy network never makes an address that
// answers look absent. An attempt that heard only strangers pauses before
// the next one.
int runEchoAttempts(EchoChannel& channel, const Timings& timings) {
  std::array<std::uint8_t, kReceiveBufferSize> buffer{};
  for (int attempt = 0; attempt < timings.echoAttempts; ++attempt) {
    const EchoRequest request =
        buildEchoRequest(channel.identifier(), static_cast<std::uint16_t>(attempt), echoTick());
    if (!channel.send(request)) return EchoResult::SendFailed;
    const auto deadline = std::chrono::steady_clock::now() + timings.echoTimeout;
    bool heardStrangers = false;
    for (;;) {
      std::size_t size = 0;
      const EchoChannel::Received received = channel.receive(buffer, size);
      if (received == EchoChannel::Received::Failed) return EchoResult::ReceiveFailed;
      if (received == EchoChannel::Received::TimedOut) break;
      const auto tick = echoAnswerTick(std::span(buffer).first(size), channel.form(), channel.identifier());
      if (tick) return elapsedSince(*tick);
      heardStrangers = true;
      if (std::chrono::steady_clock::now() >= deadline) break;
    }
    if (heardStrangers) std::this_thread::sleep_for(timings.echoNonAnswerPause);
  }
  return EchoResult::NoAnswer;
}

EchoCheck::EchoCheck(const Timings& timings, Socket socket) : timings_(timings), socket_(socket) {}

int EchoCheck::check(const std::string& address) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  if (::inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return EchoResult::SendFailed;

  std::unique_ptr<EchoChannel> channel;
  int opened = EchoResult::NotPermitted;
  if (socket_ != Socket::Datagram) opened = openChannel(Socket::Raw, to, timings_.echoTimeout, channel);
  if (socket_ == Socket::Datagram || (socket_ == Socket::Automatic && opened == EchoResult::NotPermitted)) {
    const int datagram = openChannel(Socket::Datagram, to, timings_.echoTimeout, channel);
    // Without either socket the check is unavailable, which is what the
    // raw socket's refusal already says.
    if (socket_ == Socket::Datagram || datagram == 0) opened = datagram;
  }
  if (!channel) return opened;
  return runEchoAttempts(*channel, timings_);
}

}  // namespace orvane
