// The network link of this build against orvane-sim of the build machine, a
// program of its own serving 127.0.0.1 (with-simulator beside this file
// starts it and names its address in ORVANE_SIM_ADDRESS): the real echo check, the
// connection, the connection check, and a channel block read, written and
// read again, all over real sockets. Every reply must carry what the
// simulated device of this build answers to the same frames.

#include <gtest/gtest.h>

#include <cstdlib>

#include "protocol/FrameBuilder.h"
#include "protocol/ReplyKinds.h"
#include "sim/DeviceResponder.h"
#include "sim/DeviceState.h"
#include "support/LinkParts.h"
#include "transport/NetPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kReplyWait = 5s;
constexpr auto kNetwork = static_cast<std::uint8_t>(LinkType::Network);
constexpr std::uint8_t kInputBlock = 1;
constexpr std::uint8_t kSystemBlock = 3;
constexpr std::uint8_t kConnectionCheckItem = 204;
constexpr std::uint8_t kChannel = 2;
constexpr std::size_t kChannelBlockSize = 120;

class NetSimulatorTest : public ::testing::Test {
 protected:
  ~NetSimulatorTest() override { net.shutdown(); }

  // What the worker does for one frame: builds it into the transmit frame,
  // signals the port and waits for the reply. The same frame goes to the
  // device of this build, whose answer is kept.
  void exchange(const FrameHeader& header, std::span<const std::uint8_t> payload) {
    Bytes wire;
    link.slot.withFrames([&](SendData& transmit, SendData&) {
      builder.fill(transmit, header, payload);
      const auto bytes = transmit.wire();
      wire.assign(bytes.begin(), bytes.end());
      transmit.replyKind = replyKindOf(wire);
      transmit.ready = true;
    });
    link.replyEvent.reset();
    net.signalWrite();
    ASSERT_TRUE(link.replyEvent.wait(kReplyWait)) << "no reply to command 0x" << std::hex << int{wire[4]};
    const auto answer = local.respond(wire);
    ASSERT_TRUE(answer.has_value());
    localReply = *answer;
  }

  // The channel block that came back in the last reply, as the image holds
  // it, beside the one the device of this build answered.
  void expectSameChannelBlock() {
    Bytes received(kChannelBlockSize);
    link.image.readBlock(Side::Input, kChannel, Copy::Device, received);
    const auto payload = localReply.begin() + FrameOffset::Payload;
    EXPECT_EQ(received, Bytes(payload, payload + kChannelBlockSize));
  }

  LinkParts link;
  NetPort net{link.context()};
  NonceSource nonces{7};
  FrameBuilder builder{nonces};
  DeviceState localState;
  DeviceResponder local{localState};
  Bytes localReply;
};

TEST_F(NetSimulatorTest, ConnectsChecksReadsWritesAndReadsBack) {
  const char* address = std::getenv("ORVANE_SIM_ADDRESS");
  ASSERT_NE(address, nullptr) << "with-simulator runs this test";
  ASSERT_TRUE(net.open(address)) << net.openFailure().text();
  // Answered, or unavailable where the ICMP service cannot run: never "no
  // answer" from 127.0.0.1.
  EXPECT_FALSE(EchoResult::stopsConnection(net.lastEchoResult())) << net.lastEchoResult();
  RecordProperty("echo", net.lastEchoResult());

  link.check.start();
  exchange({FrameCode::CmdRead, kNetwork, 0, 0, kSystemBlock, kConnectionCheckItem, 0},
           Bytes(FrameBuilder::kDefaultLength));
  EXPECT_FALSE(link.check.pending());
  EXPECT_FALSE(link.check.answeredNotReady());

  const FrameHeader read{FrameCode::CmdRead, kNetwork, 0, 0, kInputBlock, kChannel, 0};
  exchange(read, Bytes(FrameBuilder::kDefaultLength));
  expectSameChannelBlock();

  // The block as read, with its first bytes changed, goes back.
  Bytes written(kChannelBlockSize);
  link.image.readBlock(Side::Input, kChannel, Copy::Device, written);
  for (std::size_t i = 0; i < 4; ++i) written[i] ^= 0x01;
  exchange({FrameCode::CmdWrite, kNetwork, 0, 0, kInputBlock, kChannel, 0}, written);
  exchange(read, Bytes(FrameBuilder::kDefaultLength));
  expectSameChannelBlock();
  Bytes readBack(kChannelBlockSize);
  link.image.readBlock(Side::Input, kChannel, Copy::Device, readBack);
  EXPECT_EQ(readBack, written);
  EXPECT_TRUE(link.notifier.messages().empty());
}

}  // namespace
}  // namespace orvane
