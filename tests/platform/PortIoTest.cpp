// Waiting for and writing to a port, on a loopback TCP connection: every way
// a wait or a write can end, a peer that went away included, and a wait
// that something ends while it waits.

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <thread>
#include <vector>

#include "platform/PortIo.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// How long an action in a case's thread lets the wait begin first; the
// outcome does not depend on it.
constexpr auto kWaitBegins = 20ms;

// The two ends of a loopback TCP connection, both non-blocking: `port` is
// the one under test, `peer` the other end. Their buffers are the smallest
// the system grants, so that a port the peer does not read fills at once.
struct Ends {
  Ends() {
    const NativeSocket listener = sockets::openTcp(false);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(sockets::bind(listener, address), 0);
    EXPECT_EQ(sockets::listen(listener, 1), 0);
    EXPECT_EQ(sockets::localAddress(listener, address), 0);
    port = sockets::openTcp(true);
    sockets::setOption(port, SOL_SOCKET, SO_SNDBUF, 1);
    sockets::connect(port, address);
    peer = sockets::accept(listener, true);
    sockets::close(listener);
    sockets::setOption(peer, SOL_SOCKET, SO_RCVBUF, 1);
    sockets::Watch connected{port, POLLOUT};
    EXPECT_EQ(sockets::wait(std::span(&connected, 1), 5000), 1);
  }
  ~Ends() {
    sockets::close(port);
    if (peer != kNoSocket) sockets::close(peer);
  }
  // Closes the peer's end with a reset, as a device that is switched off.
  void resetPeer() {
    sockets::setLinger(peer, true, 0);
    sockets::close(peer);
    peer = kNoSocket;
  }
  // Writes into the port until it takes no more.
  void fillPort() const {
    const std::vector<std::uint8_t> chunk(4096, 0x55);
    while (sockets::send(port, chunk, true) > 0) {
    }
  }
  void sendByte() const {
    const std::vector<std::uint8_t> byte{0x5A};
    EXPECT_EQ(sockets::send(peer, byte, true), 1);
  }

  NativeSocket port = kNoSocket;
  NativeSocket peer = kNoSocket;
};

using Step = std::function<void(Ends&, Event&)>;
const Step nothing = [](Ends&, Event&) {};

TEST(PortIoTest, EveryWayAWaitEnds) {
  struct Case {
    const char* name;
    short events;
    Step before;  // done before the wait
    PortWait expected;
    Step during = nullptr;  // done from another thread while the wait goes on
  };
  const std::vector<Case> cases{
      {"a byte waits", POLLIN, [](Ends& e, Event&) { e.sendByte(); }, PortWait::Ready},
      {"room to write", POLLOUT, nothing, PortWait::Ready},
      {"nothing arrives", POLLIN, nothing, PortWait::TimedOut},
      {"no room", POLLOUT, [](Ends& e, Event&) { e.fillPort(); }, PortWait::TimedOut},
      {"the event wins over a waiting byte", POLLIN,
       [](Ends& e, Event& stop) {
         e.sendByte();
         stop.set();
       },
       PortWait::Interrupted},
      {"a byte comes during the wait", POLLIN, nothing, PortWait::Ready,
       [](Ends& e, Event&) { e.sendByte(); }},
      {"the event is set during the wait", POLLIN, nothing, PortWait::Interrupted,
       [](Ends&, Event& stop) { stop.set(); }},
      {"the peer reads during the wait", POLLOUT, [](Ends& e, Event&) { e.fillPort(); }, PortWait::Ready,
       [](Ends& e, Event&) {
         std::vector<std::uint8_t> sink(1 << 20);
         sockets::receive(e.peer, sink, true);
       }},
  };
  for (const Case& c : cases) {
    Ends ends;
    Event stop;
    c.before(ends, stop);
    // A wait that something ends has time enough, and must not use it.
    const auto limit = c.during ? 5000ms : 30ms;
    std::jthread acting([&] {
      if (!c.during) return;
      std::this_thread::sleep_for(kWaitBegins);
      c.during(ends, stop);
    });
    const auto began = PortClock::now();
    EXPECT_EQ(waitForPort(ends.port, c.events, began + limit, {&stop}), c.expected) << c.name;
    EXPECT_LT(PortClock::now() - began, c.during ? 2000ms : 1000ms) << c.name;
  }
}

TEST(PortIoTest, EveryWayAWriteEnds) {
  struct Case {
    const char* name;
    Step prepare;
    PortWrite::End expected;
    int error;
  };
  const std::vector<Case> cases{
      {"room for all", nothing, PortWrite::End::Written, 0},
      {"the peer takes nothing", [](Ends& e, Event&) { e.fillPort(); }, PortWrite::End::TimedOut, 0},
      {"stopped while full",
       [](Ends& e, Event& stop) {
         e.fillPort();
         stop.set();
       },
       PortWrite::End::Interrupted, 0},
      {"the peer reset the connection", [](Ends& e, Event&) { e.resetPeer(); }, PortWrite::End::Failed,
       ECONNRESET},
  };
  const std::vector<std::uint8_t> frame(300, 0xA5);
  for (const Case& c : cases) {
    Ends ends;
    Event stop;
    c.prepare(ends, stop);
    const PortWrite result = writeToPort(ends.port, PortKind::Socket, frame, 30ms, {&stop});
    EXPECT_EQ(result.end, c.expected) << c.name;
    EXPECT_EQ(result.error, c.error) << c.name;
  }
}

}  // namespace
}  // namespace orvane
