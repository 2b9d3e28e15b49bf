// The editor's link machinery (slot, parser, dispatcher, image) against a
// simulated device behind the in-process transport.

#include <gtest/gtest.h>

#include <atomic>

#include "model/ParameterImage.h"
#include "sim/InProcessTransport.h"
#include "support/LinkParts.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr auto kWait = std::chrono::seconds(10);

class SimInProcessTransportTest : public ::testing::Test, protected LinkParts {
 protected:
  // A read request written into the transmit frame byte by byte and
  // finalised, as the worker leaves it for the transport.
  void putRead(std::uint8_t block, std::uint8_t item, ReplyKind kind = ReplyKind::None) {
    slot.withFrames([&](SendData& transmit, SendData&) {
      // CmdRead, USB, nonce (finalise sets it), ID 0, working state, block, item, row 0, reserved, length 8
      const Bytes header = {0xA2, 0x02, 0x00, 0x00, 0x00, block, item, 0x00, 0x00, 0x08};
      std::copy(header.begin(), header.end(), transmit.bytes.begin() + 4);
      transmit.replyKind = kind;
      transmit.finalise(0x11);
    });
  }
  bool inFlight() {
    return slot.withFrames([](const SendData& transmit, const SendData&) { return transmit.ready; });
  }
  Bytes deviceCopyOfInput(int channel) {
    Bytes block(kInputBlockSize);
    image.readBlock(Side::Input, channel, Copy::Device, block);
    return block;
  }
  void exchange() {
    replyEvent.reset();
    transport.signalWrite();
    ASSERT_TRUE(replyEvent.wait(kWait));
  }

  DeviceState state;
  std::atomic<int> replies{0};
  DeviceResponder device{state, [this] {
                           ++replies;
                           return std::uint8_t{0x2A};
                         }};
  InProcessTransport transport{context(), device, LinkType::Usb};
};

TEST_F(SimInProcessTransportTest, BlockReadReachesTheDeviceCopyAndRetiresTheFrame) {
  state.modify([](DeviceData& d) { d.working.inputs[2].fill(0x11); });
  ASSERT_TRUE(transport.open(""));
  putRead(1, 2);  // input block, channel 2
  exchange();
  EXPECT_EQ(deviceCopyOfInput(2), Bytes(120, 0x11));
  EXPECT_FALSE(inFlight());
  EXPECT_EQ(replies, 1);
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

TEST_F(SimInProcessTransportTest, BadReplyIsSentForAgainOnACleanReceiveFrame) {
  device.setFaults({.corruptEvery = 2});
  ASSERT_TRUE(transport.open(""));
  putRead(1, 2);
  exchange();  // reply 1 is good
  state.modify([](DeviceData& d) { d.working.inputs[2].fill(0x22); });
  putRead(1, 2);
  exchange();  // reply 2 is corrupt, reply 3 good
  EXPECT_EQ(replies, 3);
  EXPECT_EQ(deviceCopyOfInput(2), Bytes(120, 0x22));
  EXPECT_FALSE(inFlight());
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

TEST_F(SimInProcessTransportTest, GivesTheLinkUpAfterThreeBadOrMissingReplies) {
  device.setFaults({.corruptEvery = 1});
  ASSERT_TRUE(transport.open(""));
  putRead(3, 51, ReplyKind::NetworkNameRead);
  exchange();
  EXPECT_EQ(replies, 3);
  EXPECT_FALSE(inFlight());
  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, Message::LinkLost);
  EXPECT_EQ(messages[0].wParam, 2);  // USB
  EXPECT_EQ(messages[0].lParam, 1);  // network-name read

  device.setFaults({.dropEvery = 1});
  putRead(3, 204);
  exchange();
  EXPECT_EQ(replies, 6);
  EXPECT_EQ(notifier.count(Message::LinkLost), 2);
}

TEST_F(SimInProcessTransportTest, ClosedLinkLeavesFramesUnanswered) {
  putRead(1, 0);
  transport.signalWrite();
  EXPECT_FALSE(replyEvent.wait(std::chrono::milliseconds(100)));
  EXPECT_TRUE(inFlight());

  ASSERT_TRUE(transport.open(""));
  exchange();
  EXPECT_FALSE(inFlight());

  transport.close();
  putRead(1, 0);
  replyEvent.reset();
  transport.signalWrite();
  EXPECT_FALSE(replyEvent.wait(std::chrono::milliseconds(100)));
  EXPECT_EQ(replies, 1);
}

}  // namespace
}  // namespace orvane
