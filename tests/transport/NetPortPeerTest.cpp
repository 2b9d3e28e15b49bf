// The network port against a peer written by hand in the test: the test
// plays both the worker (it puts frames in flight and waits for the reply
// event) and the device (it reads requests and writes replies byte by byte).

#include <gtest/gtest.h>

#include "NetTestSockets.h"
#include "protocol/FrameBytes.h"
#include "protocol/ReplyDispatcher.h"
#include "support/RecordingNotifier.h"
#include "support/TestLinkHooks.h"
#include "transport/NetPort.h"

namespace orvane {
namespace {

using namespace test;

// Read input channel 2 of the working state, nonce 7.
const Bytes kBlockRead =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA2, 0x03, 0x07, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x08},
          repeated(8, 0x00), 0xAD);
// Its reply: the 120 bytes 1..120 (their XOR, 0x78, cancels the length
// byte's), nonce 0x21.
const Bytes kBlockReply =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x03, 0x21, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x78},
          counting(120, 1), 0x72);
// The connection check (system item 204) and its answers.
const Bytes kCheck =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA2, 0x03, 0x07, 0x00, 0x00, 0x03, 0xCC, 0x00, 0x00, 0x08},
          repeated(8, 0x00), 0x61);
const Bytes kCheckPassed =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x03, 0x21, 0x00, 0x00, 0x03, 0xCC, 0x00, 0x00, 0x01}, {0x00}, 0xBF);
const Bytes kCheckNotReady =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x03, 0x21, 0x00, 0x00, 0x03, 0xCC, 0x00, 0x00, 0x01}, {0x01}, 0xBE);
// Network rename to "Lab" and network factory reset, with their completion
// replies.
const Bytes kRename =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x03, 0x07, 0x00, 0x00, 0x03, 0x33, 0x00, 0x00, 0x03},
          {'L', 'a', 'b'}, 0xD9);
const Bytes kRenameDone =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0x51, 0x03, 0x21, 0x00, 0x00, 0x03, 0x33, 0x00, 0x00, 0x00}, {}, 0x43);
const Bytes kFactoryReset =
    frame({0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x03, 0x07, 0x00, 0x00, 0x03, 0x31, 0x00, 0x00, 0x01}, {0x00}, 0x96);

Bytes withZero(const Bytes& frameBytes) {
  return concat(frameBytes, {0x00});
}

Bytes corrupted(Bytes bytes) {
  bytes[bytes.size() - 2] ^= 0xFF;  // checksum
  return bytes;
}

class NetPortPeerTest : public ::testing::Test {
 protected:
  NetPortPeerTest() {
    timings.netReceiveTimeout = 300ms;
    timings.netEventResetPause = 0ms;
    listener = listenLoopback(port);
  }
  ~NetPortPeerTest() override {
    if (net) net->shutdown();
  }

  void createPort(int echo = EchoResult::NotPermitted) {
    auto probe = std::make_unique<FixedEcho>(echo);
    echoProbe = probe.get();
    net = std::make_unique<NetPort>(LinkContext{slot, dispatcher, replyEvent, notifier, timings, hooks},
                                    std::move(probe));
  }

  std::string address() const { return "127.0.0.1:" + std::to_string(port); }

  // Opens the port and takes its connection as the device.
  void openAndAccept() {
    createPort();
    ASSERT_TRUE(net->open(address()));
    peer = acceptWithin(listener);
    ASSERT_TRUE(peer.valid());
  }

  // What the worker does: the frame into the transmit frame, then signal.
  void send(const Bytes& wire, ReplyKind kind = ReplyKind::None) {
    slot.withFrames([&](SendData& transmit, SendData&) {
      transmit.clearFrom(FrameOffset::Cmd);
      std::copy(wire.begin(), wire.end(), transmit.bytes.begin());
      transmit.replyKind = kind;
      transmit.ready = true;
    });
    replyEvent.reset();
    net->signalWrite();
  }

  bool inFlight() {
    return slot.withFrames([](const SendData& transmit, const SendData&) { return transmit.ready; });
  }

  Bytes deviceCopyOfInput2() {
    Bytes block(120);
    image.readBlock(Side::Input, 2, Copy::Device, block);
    return block;
  }

  // No further connection attempt reaches the device.
  bool noReconnect() { return !acceptWithin(listener, 3 * timings.netReceiveTimeout).valid(); }

  Timings timings;
  ParameterImage image;
  RecordingNotifier notifier;
  WorkerEvents workerEvents;
  LevelRequest levels;
  ConnectionCheck check;
  ReplyDispatcher dispatcher{image, notifier, workerEvents, levels, check};
  LinkSlot slot;
  Event replyEvent;
  TestLinkHooks hooks{check};
  int port = 0;
  NetSocket listener;
  NetSocket peer;
  FixedEcho* echoProbe = nullptr;
  std::unique_ptr<NetPort> net;
};

TEST_F(NetPortPeerTest, AFrameGoesOutWithOneZeroAndItsReplyIsAssembledFromPieces) {
  openAndAccept();
  send(kBlockRead);
  EXPECT_EQ(receiveRequest(peer), withZero(kBlockRead));
  ASSERT_TRUE(sendInPieces(peer, kBlockReply, {5, 60, 71}));
  ASSERT_TRUE(replyEvent.wait(kPeerWait));
  EXPECT_EQ(deviceCopyOfInput2(), counting(120, 1));
  EXPECT_FALSE(inFlight());
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(NetPortPeerTest, CorruptRepliesAreAskedForAgainOnTheSameConnection) {
  openAndAccept();
  send(kBlockRead);
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(receiveRequest(peer), withZero(kBlockRead)) << i;
    ASSERT_TRUE(sendAll(peer, corrupted(kBlockReply)));
  }
  ASSERT_EQ(receiveRequest(peer), withZero(kBlockRead));
  ASSERT_TRUE(sendAll(peer, kBlockReply));
  ASSERT_TRUE(replyEvent.wait(kPeerWait));
  EXPECT_EQ(deviceCopyOfInput2(), counting(120, 1));
  EXPECT_TRUE(noReconnect());
  EXPECT_TRUE(notifier.messages().empty());
}

// Half a reply, then the device falls silent. The frame goes out again on a
// new connection, and its reply there must not be read as the rest of the
// half reply.
TEST_F(NetPortPeerTest, AReplyCutOffByATimeOutDoesNotSpoilTheNextOne) {
  openAndAccept();
  send(kBlockRead);
  ASSERT_EQ(receiveRequest(peer), withZero(kBlockRead));
  ASSERT_TRUE(sendAll(peer, Bytes(kBlockReply.begin(), kBlockReply.begin() + 40)));

  NetSocket second = acceptWithin(listener);
  ASSERT_TRUE(second.valid());
  EXPECT_TRUE(closedByPeer(peer));
  EXPECT_EQ(echoProbe->checks.load(), 2) << "a reconnect checks the address again";
  ASSERT_EQ(receiveRequest(second), withZero(kBlockRead));
  ASSERT_TRUE(sendAll(second, kBlockReply));
  ASSERT_TRUE(replyEvent.wait(kPeerWait));
  EXPECT_EQ(deviceCopyOfInput2(), counting(120, 1));
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(NetPortPeerTest, TheThirdLostConnectionEndsTheLink) {
  openAndAccept();
  send(kBlockRead);
  NetSocket connection = std::move(peer);
  for (int i = 0; i < 3; ++i) {
    if (i > 0) connection = acceptWithin(listener);
    ASSERT_TRUE(connection.valid()) << i;
    ASSERT_EQ(receiveRequest(connection), withZero(kBlockRead)) << i;
    connection.reset();  // the device drops the connection without answering
  }
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  EXPECT_TRUE(noReconnect());
  const auto posted = notifier.messages();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, 3);
  EXPECT_EQ(posted[0].lParam, 0);
}

TEST_F(NetPortPeerTest, AConnectionCheckAnsweredWronglyEndsTheLinkAfterThreeTries) {
  check.start();
  openAndAccept();
  send(kCheck);
  NetSocket connection = std::move(peer);
  for (int i = 0; i < 3; ++i) {
    if (i > 0) connection = acceptWithin(listener);
    ASSERT_TRUE(connection.valid()) << i;
    ASSERT_EQ(receiveRequest(connection), withZero(kCheck)) << i;
    ASSERT_TRUE(sendAll(connection, kCheckNotReady));
  }
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  EXPECT_TRUE(noReconnect());
  EXPECT_EQ(notifier.count(Message::LinkLost), 1);
}

// The check's answer may arrive in pieces like any reply; only a complete
// answer decides.
TEST_F(NetPortPeerTest, AConnectionCheckAnswerInPiecesIsAccepted) {
  check.start();
  openAndAccept();
  send(kCheck);
  ASSERT_EQ(receiveRequest(peer), withZero(kCheck));
  ASSERT_TRUE(sendInPieces(peer, kCheckPassed, {4, 6, 7}));
  ASSERT_TRUE(replyEvent.wait(kPeerWait));
  EXPECT_FALSE(check.pending());
  EXPECT_TRUE(noReconnect());
  EXPECT_TRUE(notifier.messages().empty());
}

// The module restarts after a rename or reset, so the link ends as soon as
// the request is out; an acknowledgement that still arrives is reported
// after the lost link.
TEST_F(NetPortPeerTest, ARenameEndsTheLinkRightAfterTheRequest) {
  openAndAccept();
  send(kRename, ReplyKind::NetworkNameWrite);
  ASSERT_EQ(receiveRequest(peer), withZero(kRename));
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  ASSERT_TRUE(sendAll(peer, kRenameDone));
  ASSERT_TRUE(notifier.waitFor(Message::NetworkOperationDone));
  peer.reset();  // the module restarts
  EXPECT_TRUE(noReconnect());

  const auto posted = notifier.messages();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, Message::LinkLost);
  EXPECT_EQ(posted[0].wParam, 3);
  EXPECT_EQ(posted[0].lParam, 0);  // sent: the outcome is the device's to tell
  EXPECT_EQ(posted[1].message, Message::NetworkOperationDone);
  EXPECT_EQ(posted[1].lParam, 2);
}

// The module may restart without acknowledging; the rename must not be
// sent again to the restarted module.
TEST_F(NetPortPeerTest, AnUnacknowledgedRenameIsNotSentAgain) {
  openAndAccept();
  send(kRename, ReplyKind::NetworkNameWrite);
  ASSERT_EQ(receiveRequest(peer), withZero(kRename));
  peer.reset();
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  EXPECT_TRUE(noReconnect());
  EXPECT_EQ(notifier.messages().size(), 1u);
}

// A rename or reset that never left the editor is reported as failed;
// another frame loses the link as usual. In both cases the device went away:
// its connection was reset and it takes no new one.
TEST_F(NetPortPeerTest, AFrameThatCannotBeSentOrResentEndsTheLink) {
  struct Case {
    Bytes frame;
    ReplyKind kind;
    std::intptr_t lParam;
  };
  for (const Case& c :
       {Case{kRename, ReplyKind::NetworkNameWrite, 2}, Case{kFactoryReset, ReplyKind::NetworkFactoryReset, 3},
        Case{kBlockRead, ReplyKind::None, 0}}) {
    notifier.clear();
    int devicePort = 0;
    NetSocket device = listenLoopback(devicePort);
    createPort();
    ASSERT_TRUE(net->open("127.0.0.1:" + std::to_string(devicePort)));
    NetSocket connection = acceptWithin(device);
    ASSERT_TRUE(connection.valid());
    resetConnection(connection);
    device.reset();

    send(c.frame, c.kind);
    ASSERT_TRUE(notifier.waitFor(Message::LinkLost)) << c.lParam;
    const auto posted = notifier.messages();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].lParam, c.lParam);
    EXPECT_EQ(echoProbe->checks.load(), 2) << "one reconnect was tried";
    net->shutdown();
  }
}

TEST_F(NetPortPeerTest, ClosingDuringAnExchangeIsNoLossAndTheLinkOpensAgain) {
  openAndAccept();
  send(kBlockRead);
  ASSERT_EQ(receiveRequest(peer), withZero(kBlockRead));
  net->close();
  slot.clear(true);
  EXPECT_TRUE(closedByPeer(peer));

  ASSERT_TRUE(net->open(address()));
  NetSocket again = acceptWithin(listener);
  ASSERT_TRUE(again.valid());
  send(kBlockRead);
  ASSERT_EQ(receiveRequest(again), withZero(kBlockRead));
  ASSERT_TRUE(sendAll(again, kBlockReply));
  ASSERT_TRUE(replyEvent.wait(kPeerWait));
  EXPECT_TRUE(notifier.messages().empty());
  EXPECT_EQ(echoProbe->checks.load(), 2);
}

TEST_F(NetPortPeerTest, OpenChecksTheAddressThenConnects) {
  createPort(EchoResult::NoAnswer);
  EXPECT_FALSE(net->open(address()));
  EXPECT_FALSE(acceptWithin(listener, 100ms).valid()) << "no answer to the echo: no connect";
  net->shutdown();

  // A check that could not run lets the link connect.
  for (int code : {EchoResult::NotPermitted, EchoResult::SocketFailed, EchoResult::OptionFailed,
                   EchoResult::SendFailed, EchoResult::ReceiveFailed, 0}) {
    createPort(code);
    EXPECT_TRUE(net->open(address())) << code;
    EXPECT_TRUE(acceptWithin(listener).valid()) << code;
    EXPECT_EQ(net->lastEchoResult(), code);
    net->shutdown();
  }

  createPort();
  EXPECT_FALSE(net->open("127.0.0.1:" + std::to_string(closedLoopbackPort())));
  EXPECT_EQ(net->openFailure().cause, LinkFault::Cause::Refused) << net->openFailure().text();
  EXPECT_FALSE(net->open("localhost"));
  EXPECT_EQ(net->openFailure().cause, LinkFault::Cause::NotIpv4);
  EXPECT_FALSE(net->open(""));
  EXPECT_TRUE(net->open(address())) << "a failed open leaves the port usable";
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(NetPortPeerTest, LifecycleCallsInAnyOrder) {
  createPort();
  net->close();
  net->signalWrite();  // nothing open: nothing is sent
  net->shutdown();
  net->shutdown();
  net->close();
  EXPECT_FALSE(net->open(address()));
  EXPECT_FALSE(acceptWithin(listener, 50ms).valid());
}

}  // namespace
}  // namespace orvane
