// The network port against devices that misbehave on purpose. Whatever the
// device does, closing the link (as the editor does on Disconnect) returns
// promptly, and a link that can no longer carry frames is reported lost.

#include <gtest/gtest.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>

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
// No sync byte in it: never the start of a frame.
const Bytes kGarbage = repeated(16, 0x11);

constexpr auto kCloseBound = std::chrono::milliseconds(8000);

enum class Misbehaviour : std::uint8_t {
  NeverReads,      // one bad reply a millisecond, reads nothing
  Floods,          // a thousand bad replies a millisecond, reads nothing
  StreamsGarbage,  // bytes without a frame as fast as they go, reads the requests
};

// A device on 127.0.0.1 that misbehaves on every connection it accepts (a
// new one replaces the one before) until it is destroyed; it never blocks.
class HostileDevice {
 public:
  explicit HostileDevice(Misbehaviour how) : how_(how), listener_(listenLoopback(port_)) {
    // A small window: a device that reads nothing is full after a few frames.
    const int smallest = 1;
    ::setsockopt(listener_.fd(), SOL_SOCKET, SO_RCVBUF, &smallest, sizeof smallest);
    thread_ = std::thread([this] { run(); });
  }
  ~HostileDevice() {
    stop_ = true;
    thread_.join();
  }
  int port() const { return port_; }
  // Bytes sent to it that wait unread.
  std::size_t unread() const { return unread_; }

 private:
  void run() {
    const Bytes& unit = how_ == Misbehaviour::StreamsGarbage ? kGarbage : kBadAck;
    Bytes burst;
    for (int i = 0; i < 1000; ++i) burst.insert(burst.end(), unit.begin(), unit.end());
    const Bytes& output = how_ == Misbehaviour::NeverReads ? unit : burst;
    NetSocket connection;
    std::array<std::uint8_t, 4096> sink{};
    while (!stop_) {
      if (readable(listener_, 1ms))
        connection.reset(::accept4(listener_.fd(), nullptr, nullptr, SOCK_CLOEXEC));
      if (!connection.valid()) continue;
      if (how_ == Misbehaviour::StreamsGarbage)
        ::recv(connection.fd(), sink.data(), sink.size(), MSG_DONTWAIT);
      ::send(connection.fd(), output.data(), output.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
      int queued = 0;
      if (::ioctl(connection.fd(), SIOCINQ, &queued) == 0) unread_ = static_cast<std::size_t>(queued);
    }
  }

  Misbehaviour how_;
  int port_ = 0;
  NetSocket listener_;
  std::atomic<bool> stop_{false};
  std::atomic<std::size_t> unread_{0};
  std::thread thread_;
};

struct HostileCase {
  const char* name;
  Misbehaviour how;
  std::chrono::milliseconds sendTimeout;
  // Given up before anyone closes it: a device that takes no bytes, or sends
  // bytes that never make a reply, carries no frames. Otherwise the link is
  // closed while its frame cannot go out.
  bool lost;

  friend void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
};

class NetHostilePeerTest : public ::testing::TestWithParam<HostileCase> {
 protected:
  NetHostilePeerTest() {
    parts.timings.netReceiveTimeout = 300ms;
    parts.timings.netReplyDeadline = 500ms;
    parts.timings.netEventResetPause = 0ms;
  }
  ~NetHostilePeerTest() override {
    if (net) finishWithin(kCloseBound, "shutdown()", [&] { net->shutdown(); });
  }

  void open(int port, std::unique_ptr<EchoProbe> echo = std::make_unique<FixedEcho>(0)) {
    net = std::make_unique<NetPort>(parts.context(), parts.image, std::move(echo));
    ASSERT_TRUE(net->open("127.0.0.1:" + std::to_string(port)));
  }

  // As the worker hands a frame over.
  void send(const Bytes& wire) {
    parts.slot.withFrames([&](SendData& transmit, SendData&) {
      std::copy(wire.begin(), wire.end(), transmit.bytes.begin());
      transmit.ready = true;
    });
    net->signalWrite();
  }

  // As the editor disconnects: close the port, then clear its slot.
  void disconnect() {
    finishWithin(kCloseBound, "close()", [&] { net->close(); });
    parts.slot.clear(true);
  }

  LinkParts parts;
  std::unique_ptr<NetPort> net;
};

TEST_P(NetHostilePeerTest, DisconnectReturnsAndAHopelessLinkIsReportedLost) {
  const HostileCase& c = GetParam();
  parts.timings.netSendTimeout = c.sendTimeout;
  HostileDevice device(c.how);
  open(device.port());
  send(kBlockWrite);
  if (c.lost) {
    ASSERT_TRUE(parts.notifier.waitFor(Message::LinkLost));
  } else {
    // Once the device's window has been full for a second, the port's own
    // send buffer is full too.
    std::size_t seen = 0;
    for (int stable = 0, polls = 0; stable < 50 && polls < 500; ++polls, std::this_thread::sleep_for(20ms)) {
      stable = device.unread() > 0 && device.unread() == seen ? stable + 1 : 0;
      seen = device.unread();
    }
  }
  disconnect();
  EXPECT_EQ(parts.notifier.count(Message::LinkLost), c.lost ? 1 : 0);
  for (const PostedMessage& m : parts.notifier.messages()) {
    EXPECT_EQ(m.wParam, 3);
    EXPECT_EQ(m.lParam, 0);
  }
  EXPECT_TRUE(net->open("127.0.0.1:" + std::to_string(device.port()))) << "the port opens again";
}

INSTANTIATE_TEST_SUITE_P(Devices, NetHostilePeerTest,
                         ::testing::Values(HostileCase{"NeverReads", Misbehaviour::NeverReads, 500ms, true},
                                           HostileCase{"Floods", Misbehaviour::Floods, 500ms, true},
                                           HostileCase{"StreamsGarbage", Misbehaviour::StreamsGarbage, 500ms,
                                                       true},
                                           HostileCase{"FloodsWhileClosing", Misbehaviour::Floods,
                                                       std::chrono::minutes(5), false}),
                         [](const auto& info) { return std::string(info.param.name); });

// An echo check that hangs from its second call on, until released.
class StuckEcho : public EchoProbe {
 public:
  int check(const std::string&) override {
    if (++calls_ > 1) {
      entered.set();
      release.wait(std::chrono::seconds(30));
    }
    return 0;
  }
  Event entered;
  Event release;

 private:
  std::atomic<int> calls_{0};
};

// The connection drops and the reconnect hangs in its echo check: closing
// waits no longer than its bound, and the port opens again once the thread
// has let the link go. A lost link is not reported after a close.
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
  EXPECT_TRUE(net->open("127.0.0.1:" + std::to_string(port)));
  EXPECT_EQ(parts.notifier.count(Message::LinkLost), 0);
}

}  // namespace
}  // namespace orvane
