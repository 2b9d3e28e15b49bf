#include "platform/Socket.h"

#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <stdexcept>

#include "platform/Event.h"

namespace orvane::sockets {

namespace {

// More than anything here waits for at once.
constexpr std::size_t kMostWatches = 16;

int flagsOf(bool dontWait) {
  return MSG_NOSIGNAL | (dontWait ? MSG_DONTWAIT : 0);
}

}  // namespace

NativeSocket openTcp(bool nonBlocking) {
  return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
}

void close(NativeSocket socket) {
  ::close(socket);
}

int connect(NativeSocket socket, const sockaddr_in& to) {
  return ::connect(socket, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

int bind(NativeSocket socket, const sockaddr_in& address) {
  return ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
}

int listen(NativeSocket socket, int backlog) {
  return ::listen(socket, backlog);
}

int localAddress(NativeSocket socket, sockaddr_in& address) {
  socklen_t length = sizeof address;
  return ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
}

NativeSocket accept(NativeSocket listener, bool nonBlocking, sockaddr_in* peer) {
  socklen_t length = sizeof *peer;
  return ::accept4(listener, reinterpret_cast<sockaddr*>(peer), peer ? &length : nullptr,
                   SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0));
}

long receive(NativeSocket socket, std::span<std::uint8_t> bytes, bool dontWait) {
  return ::recv(socket, bytes.data(), bytes.size(), dontWait ? MSG_DONTWAIT : 0);
}

long send(NativeSocket socket, std::span<const std::uint8_t> bytes, bool dontWait) {
  return ::send(socket, bytes.data(), bytes.size(), flagsOf(dontWait));
}

void reuseAddress(NativeSocket socket) {
  setOption(socket, SOL_SOCKET, SO_REUSEADDR, 1);
}

void setNoDelay(NativeSocket socket) {
  setOption(socket, IPPROTO_TCP, TCP_NODELAY, 1);
}

int setOption(NativeSocket socket, int level, int name, int value) {
  return ::setsockopt(socket, level, name, &value, sizeof value);
}

int setTimeout(NativeSocket socket, int name, std::chrono::milliseconds timeout) {
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(timeout).count();
  const timeval tv{static_cast<time_t>(us / 1'000'000), static_cast<suseconds_t>(us % 1'000'000)};
  return ::setsockopt(socket, SOL_SOCKET, name, &tv, sizeof tv);
}

int setLinger(NativeSocket socket, bool on, int seconds) {
  const linger value{on ? 1 : 0, seconds};
  return ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &value, sizeof value);
}

void setKeepAlive(NativeSocket socket, int idle, int interval, int probes) {
  setOption(socket, SOL_SOCKET, SO_KEEPALIVE, 1);
  setOption(socket, IPPROTO_TCP, TCP_KEEPIDLE, idle);
  setOption(socket, IPPROTO_TCP, TCP_KEEPINTVL, interval);
  setOption(socket, IPPROTO_TCP, TCP_KEEPCNT, probes);
}

int pendingError(NativeSocket socket, int& error) {
  socklen_t length = sizeof error;
  return ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length);
}

int bytesWaiting(NativeSocket socket, int& count) {
  return ::ioctl(socket, FIONREAD, &count);
}

bool parseIpv4(const std::string& text, in_addr& address) {
  return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

std::string ipv4Text(const in_addr& address) {
  std::array<char, INET_ADDRSTRLEN> text{};
  ::inet_ntop(AF_INET, &address, text.data(), text.size());
  return text.data();
}

int wait(std::span<Watch> watches, int timeoutMs) {
  if (watches.size() > kMostWatches) throw std::length_error("sockets::wait: too many watches");
  std::array<pollfd, kMostWatches> fds{};
  for (std::size_t i = 0; i < watches.size(); ++i) {
    const Watch& w = watches[i];
    fds[i] = pollfd{w.event ? w.event->descriptor() : w.socket, w.events, 0};
  }
  const int ready = ::poll(fds.data(), watches.size(), timeoutMs);
  for (std::size_t i = 0; i < watches.size(); ++i) watches[i].revents = ready > 0 ? fds[i].revents : 0;
  return ready;
}

}  // namespace orvane::sockets
