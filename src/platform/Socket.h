#pragma once

// The system's TCP/IPv4 sockets, as the network link, the simulated device's
// server and the bridge use them: the BSD sockets of Linux, or Winsock in the
// Windows build, which starts Winsock on its first use. Each call is the
// system's own with the same flags and options on both systems; a call that
// fails returns -1 (or kNoSocket) and leaves the reason in errno, with the
// same values on both systems (a Winsock error is translated), so that the
// callers test one set of errors.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

// The system's socket headers and its socket handle type: the only place the
// socket code names the system. A Winsock SOCKET is an unsigned number as
// wide as a pointer, which no int holds in general; a descriptor is an int.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
namespace orvane {
using NativeSocket = SOCKET;
inline constexpr NativeSocket kNoSocket = INVALID_SOCKET;
}  // namespace orvane
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
namespace orvane {
using NativeSocket = int;
inline constexpr NativeSocket kNoSocket = -1;
}  // namespace orvane
#endif

namespace orvane {

class Event;

namespace sockets {

// A TCP socket, not inherited by programs this one starts; non-blocking when
// asked.
NativeSocket openTcp(bool nonBlocking);
void close(NativeSocket socket);

// 0, or -1 with errno; a non-blocking connect that goes on in the
// background fails with EINPROGRESS, and pendingError() tells its outcome
// once the socket is writable.
int connect(NativeSocket socket, const sockaddr_in& to);
int bind(NativeSocket socket, const sockaddr_in& address);
int listen(NativeSocket socket, int backlog);
int localAddress(NativeSocket socket, sockaddr_in& address);
// A connection waiting on `listener`, not inherited, and the address it
// comes from when `peer` is given; kNoSocket with errno when there is none
// or accepting failed.
NativeSocket accept(NativeSocket listener, bool nonBlocking, sockaddr_in* peer = nullptr);

// The bytes moved, 0 for a connection its peer closed (receiving), or -1
// with errno. Sending never raises a signal for a connection the peer
// closed. With `dontWait` the call returns at once even on a blocking
// socket (in the Windows build, which has no such flag, the socket becomes
// non-blocking for good).
long receive(NativeSocket socket, std::span<std::uint8_t> bytes, bool dontWait);
long send(NativeSocket socket, std::span<const std::uint8_t> bytes, bool dontWait);

// Lets a listening socket take its port again at once after a server on it
// ended, though its last connections still linger (SO_REUSEADDR). Winsock
// does so by itself, and its SO_REUSEADDR would let a second server take a
// port that another one listens on, so the Windows build sets nothing.
void reuseAddress(NativeSocket socket);
// Sends each write at once instead of waiting to join it with the next
// (TCP_NODELAY).
void setNoDelay(NativeSocket socket);
// setsockopt() of an int-valued option.
int setOption(NativeSocket socket, int level, int name, int value);
// SO_RCVTIMEO or SO_SNDTIMEO.
int setTimeout(NativeSocket socket, int name, std::chrono::milliseconds timeout);
// SO_LINGER.
int setLinger(NativeSocket socket, bool on, int seconds);
// Keep-alive probes: the first after `idle` seconds of silence, then every
// `interval` seconds, `probes` of them before the connection counts as lost
// (the Windows build sends its own fixed number of probes).
void setKeepAlive(NativeSocket socket, int idle, int interval, int probes);
// The error a background connect ended with (SO_ERROR), 0 when it
// succeeded. -1 with errno when it cannot be read.
int pendingError(NativeSocket socket, int& error);
// The bytes received and not yet read (FIONREAD).
int bytesWaiting(NativeSocket socket, int& count);

// A dotted quad; false for anything else.
bool parseIpv4(const std::string& text, in_addr& address);
std::string ipv4Text(const in_addr& address);

// One thing to wait for, as poll() takes it: a socket and the poll() flags
// awaited (POLLIN, POLLOUT), or an event, which counts as readable while it
// is set. A socket of kNoSocket is skipped.
struct Watch {
  NativeSocket socket = kNoSocket;
  short events = 0;
  const Event* event = nullptr;
  short revents = 0;  // what was found, as poll() reports it

  static Watch of(const Event& event) { return Watch{kNoSocket, POLLIN, &event}; }
};

// Waits like poll() until something watched is ready, at most `timeoutMs`
// (negative: without limit): the number of entries that are, 0 after the
// time-out, -1 with errno (EINTR: a signal came first). In the Windows
// build a socket waited for is non-blocking from then on: Winsock's event
// selection, by which the wait learns of the socket's events, makes it so.
int wait(std::span<Watch> watches, int timeoutMs);

}  // namespace sockets
}  // namespace orvane
