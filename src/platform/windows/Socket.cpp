#include "platform/Socket.h"

#include <mstcpip.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>

#include "platform/Event.h"

namespace orvane::sockets {

namespace {

using Clock = std::chrono::steady_clock;

// More than anything here waits for at once; within what one
// WaitForMultipleObjects takes.
constexpr std::size_t kMostWatches = 16;

// Winsock is started once, by the first socket call of the program, and
// left running until the program ends.
void startWinsock() {
  static const bool started = [] {
    WSADATA data{};
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("Winsock cannot be started");
}

// The errno value of a Winsock error, so that the callers test the same
// values as on other systems.
int errnoOf(int error) {
  switch (error) {
    case WSAEINTR:
      return EINTR;
    case WSAEWOULDBLOCK:
      return EWOULDBLOCK;
    case WSAEINPROGRESS:
    case WSAEALREADY:
      return EINPROGRESS;
    case WSAEACCES:
      return EACCES;
    case WSAEADDRINUSE:
      return EADDRINUSE;
    case WSAEADDRNOTAVAIL:
      return EADDRNOTAVAIL;
    case WSAECONNREFUSED:
      return ECONNREFUSED;
    case WSAECONNRESET:
      return ECONNRESET;
    case WSAECONNABORTED:
      return ECONNABORTED;
    case WSAENOTCONN:
      return ENOTCONN;
    case WSAESHUTDOWN:
      return EPIPE;
    case WSAETIMEDOUT:
      return ETIMEDOUT;
    case WSAENETUNREACH:
    case WSAENETDOWN:
      return ENETUNREACH;
    case WSAEHOSTUNREACH:
    case WSAEHOSTDOWN:
      return EHOSTUNREACH;
    case WSAEMFILE:
      return EMFILE;
    case WSAENOBUFS:
      return ENOBUFS;
    case WSAENOTSOCK:
      return ENOTSOCK;
    case WSAEINVAL:
      return EINVAL;
    default:
      return EIO;
  }
}

// Returns `result` after leaving the last Winsock error in errno.
template <class T>
T failed(T result) {
  errno = errnoOf(::WSAGetLastError());
  return result;
}

int checked(int result) {
  return result == SOCKET_ERROR ? failed(-1) : result;
}

int makeNonBlocking(NativeSocket socket) {
  u_long on = 1;
  return checked(::ioctlsocket(socket, FIONBIO, &on));
}

void keepFromChildren(NativeSocket socket) {
  ::SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
}

// The network events that signal a socket's wait object for the poll()
// flags awaited.
long networkEventsOf(short events) {
  long mask = FD_CLOSE;
  if (events & POLLIN) mask |= FD_READ | FD_ACCEPT;
  if (events & POLLOUT) mask |= FD_WRITE | FD_CONNECT;
  return mask;
}

// What a socket reports now, without waiting. A connect that failed in the
// background shows as writable with an error, as poll() shows it elsewhere.
// The network events recorded so far are taken (which resets the wake-up
// object) before the socket is looked at: an event that comes after the
// look signals the object again, so the wait that follows sees it.
short readinessOf(NativeSocket socket, short events, HANDLE wakeUp) {
  WSANETWORKEVENTS happened{};
  const bool connectFailed = ::WSAEnumNetworkEvents(socket, wakeUp, &happened) == 0 &&
                             (happened.lNetworkEvents & FD_CONNECT) &&
                             happened.iErrorCode[FD_CONNECT_BIT] != 0;
  WSAPOLLFD fd{socket, static_cast<short>(events & (POLLIN | POLLOUT)), 0};
  const short revents = ::WSAPoll(&fd, 1, 0) > 0 ? fd.revents : 0;
  return connectFailed ? static_cast<short>(revents | POLLOUT | POLLERR) : revents;
}

// Rounded up, so a wait never ends before its deadline.
DWORD msUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<DWORD>(std::clamp<long long>(left, 0, INFINITE - 1));
}

// Each socket watched has an event object that Winsock signals when one of
// its awaited network events happens; an Event watched is waited for by its
// own event object.
class Waiter {
 public:
  explicit Waiter(std::span<Watch> watches) : watches_(watches) {
    for (std::size_t i = 0; i < watches.size(); ++i) {
      const Watch& w = watches[i];
      if (w.event) {
        handles_[count_++] = LongToHandle(w.event->descriptor());
      } else if (w.socket != kNoSocket) {
        wakeUps_[i] = ::WSACreateEvent();
        handles_[count_++] = wakeUps_[i];
      }
    }
  }
  ~Waiter() {
    for (std::size_t i = 0; i < watches_.size(); ++i) {
      if (wakeUps_[i] == WSA_INVALID_EVENT) continue;
      ::WSAEventSelect(watches_[i].socket, nullptr, 0);
      ::WSACloseEvent(wakeUps_[i]);
    }
  }
  Waiter(const Waiter&) = delete;
  Waiter& operator=(const Waiter&) = delete;

  // Asks Winsock anew for every socket's events: it signals at once those
  // that hold already, and the rest when they happen.
  void select() {
    for (std::size_t i = 0; i < watches_.size(); ++i)
      if (wakeUps_[i] != WSA_INVALID_EVENT)
        ::WSAEventSelect(watches_[i].socket, wakeUps_[i], networkEventsOf(watches_[i].events));
  }

  int look() {
    int ready = 0;
    for (std::size_t i = 0; i < watches_.size(); ++i) {
      Watch& w = watches_[i];
      if (w.event)
        w.revents = w.event->isSet() ? POLLIN : 0;
      else if (wakeUps_[i] != WSA_INVALID_EVENT)
        w.revents = readinessOf(w.socket, w.events, wakeUps_[i]);
      else
        w.revents = 0;
      if (w.revents != 0) ++ready;
    }
    return ready;
  }

  bool sleep(DWORD ms) {
    if (count_ == 0) {
      ::Sleep(ms);
      return true;
    }
    return ::WaitForMultipleObjects(count_, handles_.data(), FALSE, ms) != WAIT_FAILED;
  }

 private:
  std::span<Watch> watches_;
  std::array<WSAEVENT, kMostWatches> wakeUps_ = [] {
    std::array<WSAEVENT, kMostWatches> none{};
    none.fill(WSA_INVALID_EVENT);
    return none;
  }();
  std::array<HANDLE, kMostWatches> handles_{};
  DWORD count_ = 0;
};

}  // namespace

NativeSocket openTcp(bool nonBlocking) {
  startWinsock();
  const NativeSocket socket =
      ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
  if (socket == INVALID_SOCKET) return failed(kNoSocket);
  if (nonBlocking && makeNonBlocking(socket) != 0) {
    const int error = errno;
    ::closesocket(socket);
    errno = error;
    return kNoSocket;
  }
  return socket;
}

void close(NativeSocket socket) {
  ::closesocket(socket);
}

int connect(NativeSocket socket, const sockaddr_in& to) {
  if (::connect(socket, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) return 0;
  failed(0);
  // Winsock says that a non-blocking connect goes on by "would block".
  if (errno == EWOULDBLOCK) errno = EINPROGRESS;
  return -1;
}

int bind(NativeSocket socket, const sockaddr_in& address) {
  return checked(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address));
}

int listen(NativeSocket socket, int backlog) {
  return checked(::listen(socket, backlog));
}

int localAddress(NativeSocket socket, sockaddr_in& address) {
  int length = sizeof address;
  return checked(::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length));
}

NativeSocket accept(NativeSocket listener, bool nonBlocking, sockaddr_in* peer) {
  int length = sizeof *peer;
  const NativeSocket socket = ::accept(listener, reinterpret_cast<sockaddr*>(peer), peer ? &length : nullptr);
  if (socket == INVALID_SOCKET) return failed(kNoSocket);
  keepFromChildren(socket);
  if (nonBlocking) makeNonBlocking(socket);
  return socket;
}

long receive(NativeSocket socket, std::span<std::uint8_t> bytes, bool dontWait) {
  if (dontWait) makeNonBlocking(socket);
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
  const int got = ::recv(socket, reinterpret_cast<char*>(bytes.data()), size, 0);
  return got == SOCKET_ERROR ? failed(-1L) : got;
}

long send(NativeSocket socket, std::span<const std::uint8_t> bytes, bool dontWait) {
  if (dontWait) makeNonBlocking(socket);
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
  const int sent = ::send(socket, reinterpret_cast<const char*>(bytes.data()), size, 0);
  return sent == SOCKET_ERROR ? failed(-1L) : sent;
}

void reuseAddress(NativeSocket) {}

void setNoDelay(NativeSocket socket) {
  setOption(socket, IPPROTO_TCP, TCP_NODELAY, 1);
}

int setOption(NativeSocket socket, int level, int name, int value) {
  return checked(::setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value));
}

int setTimeout(NativeSocket socket, int name, std::chrono::milliseconds timeout) {
  const DWORD ms = static_cast<DWORD>(timeout.count());
  return checked(::setsockopt(socket, SOL_SOCKET, name, reinterpret_cast<const char*>(&ms), sizeof ms));
}

int setLinger(NativeSocket socket, bool on, int seconds) {
  const linger value{static_cast<u_short>(on ? 1 : 0), static_cast<u_short>(seconds)};
  return checked(
      ::setsockopt(socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value), sizeof value));
}

void setKeepAlive(NativeSocket socket, int idle, int interval, int) {
  constexpr ULONG kMsPerSecond = 1000;
  tcp_keepalive values{1, static_cast<ULONG>(idle) * kMsPerSecond,
                       static_cast<ULONG>(interval) * kMsPerSecond};
  DWORD returned = 0;
  ::WSAIoctl(socket, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr, nullptr);
}

int pendingError(NativeSocket socket, int& error) {
  int length = sizeof error;
  if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0)
    return failed(-1);
  if (error != 0) error = errnoOf(error);
  return 0;
}

int bytesWaiting(NativeSocket socket, int& count) {
  u_long waiting = 0;
  if (::ioctlsocket(socket, FIONREAD, &waiting) != 0) return failed(-1);
  count = static_cast<int>(std::min<u_long>(waiting, INT_MAX));
  return 0;
}

bool parseIpv4(const std::string& text, in_addr& address) {
  startWinsock();
  return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

std::string ipv4Text(const in_addr& address) {
  startWinsock();
  std::array<char, INET_ADDRSTRLEN> text{};
  ::inet_ntop(AF_INET, &address, text.data(), text.size());
  return text.data();
}

// Every round asks Winsock again and looks at what holds before it sleeps,
// so that neither a network event that happened before the wait nor one
// that Winsock reports only once is missed.
int wait(std::span<Watch> watches, int timeoutMs) {
  if (watches.size() > kMostWatches) throw std::length_error("sockets::wait: too many watches");
  const bool forever = timeoutMs < 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
  Waiter waiter(watches);
  for (;;) {
    waiter.select();
    if (const int ready = waiter.look(); ready > 0) return ready;
    if (!forever && Clock::now() >= deadline) return 0;
    if (!waiter.sleep(forever ? INFINITE : msUntil(deadline))) {
      errno = EIO;
      return -1;
    }
  }
}

}  // namespace orvane::sockets
