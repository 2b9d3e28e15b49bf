#include <gtest/gtest.h>

#include <cerrno>

#include "NetTestSockets.h"
#include "protocol/FrameBytes.h"
#include "sim/TcpDeviceServer.h"

namespace orvane {
namespace {

using namespace test;

// Level poll as the editor sends it: read system item 3, nonce 7.
const Bytes kLevelPoll =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA2, 0x03, 0x07, 0x00, 0x00, 0x03, 0x03, 0x00, 0x00, 0x08},
          repeated(8, 0x00), 0xAE);
// The same with a wrong checksum.
const Bytes kBrokenPoll =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA2, 0x03, 0x07, 0x00, 0x00, 0x03, 0x03, 0x00, 0x00, 0x08},
          repeated(8, 0x00), 0xAF);
// Network rename to "Lab" (system item 51), and network factory reset (item 49).
const Bytes kRename =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x03, 0x07, 0x00, 0x00, 0x03, 0x33, 0x00, 0x00, 0x03},
          {'L', 'a', 'b'}, 0xD9);
const Bytes kFactoryReset =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x03, 0x07, 0x00, 0x00, 0x03, 0x31, 0x00, 0x00, 0x01}, {0x00}, 0x96);

constexpr std::size_t kLevelReplySize = 16 + 16;  // 16 level bytes

Bytes withZero(const Bytes& frameBytes) {
  return concat(frameBytes, {0x00});
}

class NetDeviceServerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.start("127.0.0.1", 0)); }

  // Reads one reply and checks it answers a level poll on the network link.
  void expectLevelReply(const NetSocket& client) {
    const Bytes reply = receiveExactly(client, kLevelReplySize);
    ASSERT_EQ(reply.size(), kLevelReplySize);
    EXPECT_EQ(reply[4], 0x53);   // data reply
    EXPECT_EQ(reply[5], 0x03);   // network link
    EXPECT_EQ(reply[9], 0x03);   // system item ...
    EXPECT_EQ(reply[10], 0x03);  // ... 3, levels
    EXPECT_EQ(reply[13], 16);
    EXPECT_EQ(reply.back(), 0xAA);
  }

  DeviceState device;
  DeviceResponder responder{device};
  TcpDeviceServer server{responder};
};

TEST_F(NetDeviceServerTest, RequestsAreFoundWhereverTheyLieInTheStream) {
  NetSocket client = connectLoopback(server.port());
  ASSERT_TRUE(client.valid());
  // Noise with sync bytes in it, a frame that fails its check, then two
  // sound frames each with its trailing zero, all in one segment.
  Bytes stream{0x01, 0x5A, 0x5A, 0x02, 0x5A};
  stream = concat(stream, kBrokenPoll);
  stream = concat(stream, withZero(kLevelPoll));
  stream = concat(stream, withZero(kLevelPoll));
  ASSERT_TRUE(sendAll(client, stream));
  expectLevelReply(client);
  expectLevelReply(client);
  EXPECT_FALSE(readable(client, 50ms)) << "the broken frame was answered";

  // A request cut into pieces is answered once it is whole.
  ASSERT_TRUE(sendInPieces(client, withZero(kLevelPoll), {3, 11, 9, 2}));
  expectLevelReply(client);
  EXPECT_EQ(server.connectionsAccepted(), 1);
}

TEST_F(NetDeviceServerTest, NetworkRenameAndResetAreAcknowledgedThenTheModuleRestarts) {
  for (const Bytes& request : {kRename, kFactoryReset}) {
    NetSocket client = connectLoopback(server.port());
    ASSERT_TRUE(sendAll(client, withZero(request)));
    const Bytes reply = receiveExactly(client, 16);
    ASSERT_EQ(reply.size(), 16u);
    EXPECT_EQ(reply[4], 0x51);  // completion reply
    EXPECT_EQ(reply[10], request[10]);
    EXPECT_TRUE(closedByPeer(client));
  }
  EXPECT_EQ(device.read([](const DeviceData& d) { return d.networkName; }),
            (Bytes{'K', 'V', 'S', '7', '3', '0', '4'}));

  NetSocket client = connectLoopback(server.port());
  ASSERT_TRUE(sendAll(client, withZero(kRename)));
  EXPECT_TRUE(closedByPeer(client));
  EXPECT_EQ(device.read([](const DeviceData& d) { return d.networkName; }), (Bytes{'L', 'a', 'b'}));
}

TEST_F(NetDeviceServerTest, ConnectionsClosedAfterSomeRepliesAndRepliesInPieces) {
  server.setFaults(TcpServerFaults{.closeAfterReplies = 2, .replyPieces = 3, .pieceGap = 5ms});
  NetSocket client = connectLoopback(server.port());
  ASSERT_TRUE(sendAll(client, concat(withZero(kLevelPoll), withZero(kLevelPoll))));
  expectLevelReply(client);
  expectLevelReply(client);
  EXPECT_TRUE(closedByPeer(client));
}

TEST_F(NetDeviceServerTest, ANewConnectionReplacesTheOldOne) {
  NetSocket first = connectLoopback(server.port());
  ASSERT_TRUE(sendAll(first, withZero(kLevelPoll)));
  expectLevelReply(first);
  NetSocket second = connectLoopback(server.port());
  ASSERT_TRUE(second.valid());
  EXPECT_TRUE(closedByPeer(first));
  ASSERT_TRUE(sendAll(second, withZero(kLevelPoll)));
  expectLevelReply(second);
  EXPECT_EQ(server.connectionsAccepted(), 2);
}

TEST_F(NetDeviceServerTest, RefusingAndDroppingConnections) {
  NetSocket kept = connectLoopback(server.port());
  ASSERT_TRUE(sendAll(kept, withZero(kLevelPoll)));
  expectLevelReply(kept);

  ASSERT_TRUE(server.setRefusing(true));
  EXPECT_FALSE(connectLoopback(server.port()).valid());
  // The connection that was there is still served.
  ASSERT_TRUE(sendAll(kept, withZero(kLevelPoll)));
  expectLevelReply(kept);

  server.dropConnection();
  EXPECT_TRUE(closedByPeer(kept));

  ASSERT_TRUE(server.setRefusing(false));
  NetSocket again = connectLoopback(server.port());
  ASSERT_TRUE(again.valid());
  ASSERT_TRUE(sendAll(again, withZero(kLevelPoll)));
  expectLevelReply(again);
}

TEST_F(NetDeviceServerTest, StoppingClosesEverything) {
  NetSocket client = connectLoopback(server.port());
  ASSERT_TRUE(sendAll(client, withZero(kLevelPoll)));
  expectLevelReply(client);
  server.stop();
  EXPECT_TRUE(closedByPeer(client));
  EXPECT_FALSE(connectLoopback(server.port()).valid());
  EXPECT_FALSE(server.setRefusing(true));
  server.stop();
}

TEST_F(NetDeviceServerTest, AReplyHeldBackIsAbandonedWhenTheServerStops) {
  server.setFaults(TcpServerFaults{.replyDelay = std::chrono::hours(1)});
  NetSocket client = connectLoopback(server.port());
  ASSERT_TRUE(sendAll(client, withZero(kLevelPoll)));
  EXPECT_FALSE(readable(client, 50ms));
  // Stopping does not wait for the held-back reply.
  server.stop();
  EXPECT_TRUE(closedByPeer(client));
}

// A client that sends requests but reads no reply loses its connection once
// the replies find no room within the send limit; the next client is served,
// and the server stops at once.
TEST_F(NetDeviceServerTest, AClientThatNeverReadsCannotHoldUpTheServer) {
  TcpDeviceServer quick{responder, 300ms};
  ASSERT_TRUE(quick.start("127.0.0.1", 0));
  NetSocket hog = connectLoopback(quick.port(), true);
  ASSERT_TRUE(hog.valid());
  const Bytes burst = repeatedFrames(withZero(kLevelPoll), 64);
  // Until the server drops the connection; one held up stops taking them.
  for (const auto until = std::chrono::steady_clock::now() + kPeerWait;
       std::chrono::steady_clock::now() < until;) {
    if (sockets::send(hog.fd(), burst, true) >= 0) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) break;
    std::this_thread::sleep_for(1ms);
  }
  NetSocket next = connectLoopback(quick.port());
  ASSERT_TRUE(sendAll(next, withZero(kLevelPoll)));
  expectLevelReply(next);
  finishWithin("stop()", [&] { quick.stop(); });
}

}  // namespace
}  // namespace orvane
