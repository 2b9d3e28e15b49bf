// Waiting for and writing to a port, on local socket pairs and pipes: every
// way a wait or a write can end, a peer that went away included.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <functional>
#include <vector>

#include "platform/PortIo.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Two connected non-blocking descriptors: `port` is the one under test,
// `peer` the other end (a socket pair, or a pipe read by `port`).
struct Ends {
  explicit Ends(bool pipe) {
    std::array<int, 2> fds{};
    if (pipe) {
      EXPECT_EQ(::pipe2(fds.data(), O_NONBLOCK), 0);
      port = fds[0];
      peer = fds[1];
    } else {
      EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds.data()), 0);
      port = fds[0];
      peer = fds[1];
    }
  }
  ~Ends() {
    ::close(port);
    closePeer();
  }
  void closePeer() {
    if (peer >= 0) ::close(peer);
    peer = -1;
  }
  // Writes into the port until it takes no more.
  void fillPort() {
    const std::vector<std::uint8_t> chunk(4096, 0x55);
    while (::send(port, chunk.data(), chunk.size(), MSG_DONTWAIT) > 0) {
    }
  }

  int port = -1;
  int peer = -1;
};

TEST(PortIoTest, EveryWayAWaitEnds) {
  struct Case {
    const char* name;
    bool pipe;
    short events;
    std::function<void(Ends&, Event&)> prepare;
    PortWait expected;
  };
  const std::uint8_t byte = 0x5A;
  const std::vector<Case> cases{
      {"a byte waits", false, POLLIN, [&](Ends& e, Event&) { ASSERT_EQ(::write(e.peer, &byte, 1), 1); },
       PortWait::Ready},
      {"room to write", false, POLLOUT, [](Ends&, Event&) {}, PortWait::Ready},
      {"nothing arrives", false, POLLIN, [](Ends&, Event&) {}, PortWait::TimedOut},
      {"no room", false, POLLOUT, [](Ends& e, Event&) { e.fillPort(); }, PortWait::TimedOut},
      {"the event wins over a waiting byte", false, POLLIN,
       [&](Ends& e, Event& stop) {
         ASSERT_EQ(::write(e.peer, &byte, 1), 1);
         stop.set();
       },
       PortWait::Interrupted},
      {"the writer hung up", true, POLLIN, [](Ends& e, Event&) { e.closePeer(); }, PortWait::Failed},
  };
  for (const Case& c : cases) {
    Ends ends(c.pipe);
    Event stop;
    c.prepare(ends, stop);
    EXPECT_EQ(waitForPort(ends.port, c.events, PortClock::now() + 30ms, {&stop}), c.expected) << c.name;
  }
}

TEST(PortIoTest, EveryWayAWriteEnds) {
  struct Case {
    const char* name;
    std::function<void(Ends&, Event&)> prepare;
    PortWrite::End expected;
    int error;
  };
  const std::vector<Case> cases{
      {"room for all", [](Ends&, Event&) {}, PortWrite::End::Written, 0},
      {"the peer takes nothing", [](Ends& e, Event&) { e.fillPort(); }, PortWrite::End::TimedOut, 0},
      {"stopped while full",
       [](Ends& e, Event& stop) {
         e.fillPort();
         stop.set();
       },
       PortWrite::End::Interrupted, 0},
      {"the peer closed", [](Ends& e, Event&) { e.closePeer(); }, PortWrite::End::Failed, EPIPE},
  };
  const std::vector<std::uint8_t> frame(300, 0xA5);
  for (const Case& c : cases) {
    Ends ends(false);
    Event stop;
    c.prepare(ends, stop);
    const PortWrite result = writeToPort(ends.port, PortKind::Socket, frame, 30ms, {&stop});
    EXPECT_EQ(result.end, c.expected) << c.name;
    EXPECT_EQ(result.error, c.error) << c.name;
  }
  // What a terminal is written with: write() on a pipe.
  Ends pipe(true);
  EXPECT_EQ(writeToPort(pipe.peer, PortKind::Terminal, frame, 30ms, {}).end, PortWrite::End::Written);
  std::vector<std::uint8_t> got(frame.size());
  EXPECT_EQ(::read(pipe.port, got.data(), got.size()), static_cast<ssize_t>(frame.size()));
  EXPECT_EQ(got, frame);
}

}  // namespace
}  // namespace orvane
