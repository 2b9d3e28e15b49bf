// The network port against devices that misbehave on purpose: closing returns
// promptly, and a link that can no longer carry frames is reported lost.

#include <gtest/gtest.h>

#include "NetTestSockets.h"
#include "protocol/FrameBytes.h"
#include "support/LinkParts.h"
#include "transport/NetPort.h"

namespace orvane {
namespace {

using namespace test;

// Write input block 3 (120 bytes counting from 1, whose XOR cancels the
// length byte's), nonce 7.
const Bytes kBlockWrite =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x03, 0x07, 0x00, 0x00, 0x01, 0x03, 0x00, 0x00, 0x78},
          counting(120, 1), 0xA7);
// An acknowledgement with a wrong checksum (0x71 would be right): each one
// makes the port send its frame again.
const Bytes kBadAck =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0x51, 0x03, 0x21, 0x00, 0x00, 0x01, 0x03, 0x00, 0x00, 0x00}, {}, 0x00);

// A device on 127.0.0.1 that sends `output` every millisecond on the last
// connection it accepted, reading it only if `reads`; it never blocks.
struct HostileDevice {
  HostileDevice(const Bytes& output, bool reads) {
    shrinkReceiveBuffer(listener);
    thread = std::jthread([this, output, reads](const std::stop_token& stop) {
      NetSocket connection;
      std::array<std::uint8_t, 4096> sink{};
      while (!stop.stop_requested()) {
        if (readable(listener, 1ms)) connection.reset(sockets::accept(listener.fd(), false));
        if (!connection.valid()) continue;
        if (reads) sockets::receive(connection.fd(), sink, true);
        sockets::send(connection.fd(), output, true);
        int queued = 0;
        if (sockets::bytesWaiting(connection.fd(), queued) == 0) unread = static_cast<std::size_t>(queued);
      }
    });
  }

  // Once the bytes sent to it have stayed unread for a second, its window is
  // full, and so is the port's own send buffer.
  void awaitFull() const {
    for (std::size_t seen = 0, stable = 0, polls = 0; stable < 50 && polls < 500; ++polls) {
      std::this_thread::sleep_for(20ms);
      stable = unread > 0 && unread == seen ? stable + 1 : 0;
      seen = unread;
    }
  }

  int port = 0;
  NetSocket listener = listenLoopback(port);
  std::atomic<std::size_t> unread{0};
  std::jthread thread;
};

struct HostileCase {
  const char* name;
  Bytes output;
  bool reads;
  // Given up before anyone closes it: no frames pass. Otherwise the link is
  // closed while its frame cannot go out, long before its send limit.
  bool lost;
  friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
};

class NetHostilePeerTest : public ::testing::TestWithParam<HostileCase> {
 protected:
  ~NetHostilePeerTest() override {
    if (net) finishWithin("shutdown()", [&] { net->shutdown(); });
  }

  bool reopen(int port) { return net->open("127.0.0.1:" + std::to_string(port)); }
  void open(int port, std::unique_ptr<EchoProbe> echo = std::make_unique<FixedEcho>(0)) {
    parts.timings.netReceiveTimeout = 300ms;
    parts.timings.netReplyDeadline = 500ms;
    parts.timings.netEventResetPause = 0ms;
    net = std::make_unique<NetPort>(parts.context(), std::move(echo));
    ASSERT_TRUE(reopen(port));
  }

  void send(const Bytes& wire) {
    parts.slot.withFrames([&](SendData& transmit, SendData&) {
      std::copy(wire.begin(), wire.end(), transmit.bytes.begin());
      transmit.ready = true;
    });
    net->signalWrite();
  }

  // As the editor disconnects: close the port, then clear its slot.
  void disconnect() {
    finishWithin("close()", [&] { net->close(); });
    parts.slot.clear(true);
  }

  LinkParts parts;
  std::unique_ptr<NetPort> net;
};

TEST_P(NetHostilePeerTest, DisconnectReturnsAndAHopelessLinkIsReportedLost) {
  const HostileCase& c = GetParam();
  parts.timings.netSendTimeout = c.lost ? 500ms : std::chrono::minutes(5);
  HostileDevice device(c.output, c.reads);
  open(device.port);
  send(kBlockWrite);
  ASSERT_TRUE(!c.lost || parts.notifier.waitFor(Message::LinkLost));
  if (!c.lost) device.awaitFull();
  disconnect();
  EXPECT_EQ(parts.notifier.count(Message::LinkLost), c.lost ? 1 : 0);
  for (const PostedMessage& m : parts.notifier.messages())
    EXPECT_EQ(std::pair(m.wParam, m.lParam), (std::pair<std::intptr_t, std::intptr_t>(3, 0)));
  EXPECT_TRUE(reopen(device.port)) << "the port opens again";
}

// The garbage holds no sync byte: never the start of a frame.
INSTANTIATE_TEST_SUITE_P(Devices, NetHostilePeerTest,
                         ::testing::Values(HostileCase{"NeverReads", kBadAck, false, true},
                                           HostileCase{"Floods", repeatedFrames(kBadAck, 1000), false, true},
                                           HostileCase{"StreamsGarbage", repeated(16000, 0x11), true, true},
                                           HostileCase{"FloodsWhileClosing", repeatedFrames(kBadAck, 1000),
                                                       false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// An echo check that hangs from its second call on, until released.
struct StuckEcho : EchoProbe {
  int check(const std::string&) override {
    if (++calls > 1) {
      entered.set();
      release.wait(std::chrono::seconds(30));
    }
    return 0;
  }
  Event entered, release;
  std::atomic<int> calls{0};
};

// The reconnect after a dropped connection hangs in its echo check: closing is
// bounded, reports no lost link, and the port opens again once the thread lets go.
TEST_F(NetHostilePeerTest, CloseIsBoundedWhileTheThreadIsHeldUp) {
  parts.timings.netParkWait = 2000ms;
  int port = 0;
  NetSocket listener = listenLoopback(port);
  auto echo = std::make_unique<StuckEcho>();
  StuckEcho& stuck = *echo;
  open(port, std::move(echo));
  NetSocket connection = acceptWithin(listener);
  resetConnection(connection);
  send(kBlockWrite);
  ASSERT_TRUE(stuck.entered.wait(kPeerWait));
  disconnect();
  stuck.release.set();
  EXPECT_TRUE(reopen(port));
  EXPECT_EQ(parts.notifier.count(Message::LinkLost), 0);
}

}  // namespace
}  // namespace orvane
