#pragma once

// Loopback sockets for the network link's tests: a peer that plays the
// device by hand, and a client that talks to the simulated device. Every
// address is 127.0.0.1 and every wait is bounded, so a failing test fails
// instead of hanging.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <initializer_list>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Socket.h"
#include "transport/EchoProbe.h"
#include "transport/NetSocket.h"

namespace orvane::test {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

inline constexpr auto kPeerWait = std::chrono::milliseconds(5000);

// An echo check with a fixed outcome, counting how often it was asked.
struct FixedEcho : EchoProbe {
  explicit FixedEcho(int outcome) : result(outcome) {}
  int check(const std::string&) override {
    ++checks;
    return result;
  }
  const int result;
  std::atomic<int> checks{0};
};

// Runs `action`; one that has not returned within eight seconds ends the test
// program, so a hang fails the test instead of stalling the suite.
template <class Action>
void finishWithin(const char* what, Action&& action) {
  auto done = std::async(std::launch::async, std::forward<Action>(action));
  if (done.wait_for(8s) == std::future_status::ready) return;
  std::fprintf(stderr, "%s did not return within 8 s\n", what);
  std::abort();
}

inline Bytes repeatedFrames(const Bytes& frame, int count) {
  Bytes bytes;
  while (count-- > 0) bytes.insert(bytes.end(), frame.begin(), frame.end());
  return bytes;
}

// The smallest receive buffer and so the smallest window: a peer that reads
// nothing is full after a few frames. Takes effect before connect or listen.
inline void shrinkReceiveBuffer(const NetSocket& socket) {
  sockets::setOption(socket.fd(), SOL_SOCKET, SO_RCVBUF, 1);
}

inline sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

inline bool readable(const NetSocket& socket, std::chrono::milliseconds within) {
  sockets::Watch watch{socket.fd(), POLLIN};
  return sockets::wait(std::span(&watch, 1), static_cast<int>(within.count())) > 0;
}

// A listening socket on 127.0.0.1 and a free port.
inline NetSocket listenLoopback(int& port) {
  NetSocket socket(sockets::openTcp(false));
  sockaddr_in address = loopback(0);
  sockets::bind(socket.fd(), address);
  sockets::listen(socket.fd(), 4);
  sockets::localAddress(socket.fd(), address);
  port = ntohs(address.sin_port);
  return socket;
}

// A port of 127.0.0.1 on which nothing listens.
inline int closedLoopbackPort() {
  int port = 0;
  listenLoopback(port);
  return port;
}

inline NetSocket acceptWithin(const NetSocket& listener, std::chrono::milliseconds within = kPeerWait) {
  if (!readable(listener, within)) return NetSocket{};
  return NetSocket(sockets::accept(listener.fd(), false));
}

inline NetSocket connectLoopback(int port, bool smallWindow = false) {
  NetSocket socket(sockets::openTcp(false));
  if (smallWindow) shrinkReceiveBuffer(socket);
  if (sockets::connect(socket.fd(), loopback(port)) != 0) return NetSocket{};
  return socket;
}

inline bool sendAll(const NetSocket& socket, const Bytes& bytes) {
  return sockets::send(socket.fd(), bytes, false) == static_cast<long>(bytes.size());
}

// Exactly `count` bytes, or what came before the peer closed or the wait ran
// out.
inline Bytes receiveExactly(const NetSocket& socket, std::size_t count,
                            std::chrono::milliseconds within = kPeerWait) {
  Bytes bytes;
  const auto deadline = std::chrono::steady_clock::now() + within;
  while (bytes.size() < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !readable(socket, left)) break;
    std::array<std::uint8_t, 512> buffer{};
    const auto got = sockets::receive(
        socket.fd(), std::span(buffer).first(std::min(buffer.size(), count - bytes.size())), false);
    if (got <= 0) break;
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + got);
  }
  return bytes;
}

// One request as the editor sends it over the network: the frame and the
// zero byte after it. Empty when none came.
inline Bytes receiveRequest(const NetSocket& socket) {
  Bytes header = receiveExactly(socket, 14);
  if (header.size() < 14) return {};
  const Bytes rest = receiveExactly(socket, header[13] + 3u);
  header.insert(header.end(), rest.begin(), rest.end());
  return header;
}

// True when the other end closed (or reset) the connection within the wait;
// data arriving meanwhile is read and dropped.
inline bool closedByPeer(const NetSocket& socket, std::chrono::milliseconds within = kPeerWait) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !readable(socket, left)) return false;
    std::array<std::uint8_t, 512> buffer{};
    if (sockets::receive(socket.fd(), buffer, false) <= 0) return true;
  }
}

// Sends the bytes as separate segments, `gap` apart.
inline bool sendInPieces(const NetSocket& socket, const Bytes& bytes,
                         std::initializer_list<std::size_t> sizes, std::chrono::milliseconds gap = 20ms) {
  std::size_t offset = 0;
  for (std::size_t size : sizes) {
    if (offset > 0) std::this_thread::sleep_for(gap);
    const Bytes piece(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                      bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
    if (!sendAll(socket, piece)) return false;
    offset += size;
  }
  return offset == bytes.size();
}

// Closes the connection with a reset.
inline void resetConnection(NetSocket& socket) {
  sockets::setLinger(socket.fd(), true, 0);
  socket.reset();
}

}  // namespace orvane::test
