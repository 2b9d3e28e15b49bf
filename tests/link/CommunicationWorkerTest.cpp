#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "link/Command.h"
#include "sim/DeviceResponder.h"
#include "sim/InProcessTransport.h"
#include "support/RecordingNotifier.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// What the device saw: the header of every request, in order.
struct Seen {
  std::uint8_t cmd, value, block, item, row;
  std::vector<std::uint8_t> payload;

  bool isLevelPoll() const { return cmd == 0xA2 && block == 3 && item == 3; }
  bool isRowWrite(int b, int channel, int r) const {
    return cmd == 0xA1 && block == b && item == channel && row == r;
  }
};

class CommunicationWorkerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    responder.setRequestObserver([this](const SendData& request) {
      std::lock_guard lock(mutex);
      seen.push_back({request.cmd(), request.value(), request.block(), request.item(), request.row(),
                      std::vector<std::uint8_t>(request.payload().begin(), request.payload().end())});
    });
    command.attachTransport(LinkType::Usb, std::make_unique<InProcessTransport>(
                                               command.linkContext(LinkType::Usb), responder, LinkType::Usb));
  }
  void TearDown() override { command.Shutdown(); }

  void connect() {
    std::lock_guard lock(command.protocolLock());
    ASSERT_TRUE(command.OpenLink(LinkType::Usb, ""));
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::Usb; });
  }

  std::vector<Seen> requests() {
    std::lock_guard lock(mutex);
    return seen;
  }

  // Waits until the device saw at least `count` requests after `from`.
  std::vector<Seen> waitForRequests(std::size_t count, std::size_t from = 0) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
      auto all = requests();
      if (all.size() >= from + count) return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
      std::this_thread::sleep_for(1ms);
    }
    ADD_FAILURE() << "the device saw too few requests";
    return {};
  }

  ParameterImage image;
  RecordingNotifier notifier;
  DeviceState device;
  DeviceResponder responder{device};
  Command command{image, notifier};
  std::mutex mutex;
  std::vector<Seen> seen;
};

TEST_F(CommunicationWorkerTest, AnIdleLinkPollsTheLevels) {
  connect();
  for (const Seen& request : waitForRequests(20)) EXPECT_TRUE(request.isLevelPoll());
}

TEST_F(CommunicationWorkerTest, QueuedFramesFirstThenChangedRowsInOrder) {
  connect();
  waitForRequests(3);
  std::size_t before = 0;
  {
    std::lock_guard lock(command.protocolLock());
    image.setField(Side::Output, 0, OutputField::Gain, 310);
    image.setField(Side::Input, 5, InputField::Comp_Level, 400);
    image.setField(Side::Input, 5, InputField::Gain, 250);
    image.modify([](ImageData& d) { d.system.startupProgram = 4; });
    ASSERT_TRUE(command.SendSystemItem(0, 24));
    before = requests().size();
  }
  const auto after = waitForRequests(6, before);
  // A poll may have been in flight when the edits were made.
  std::size_t i = after[0].isLevelPoll() ? 1 : 0;
  EXPECT_EQ(after[i].item, 24);
  EXPECT_EQ(after[i].payload[0], 4);
  EXPECT_TRUE(after[i + 1].isRowWrite(1, 5, 1));
  EXPECT_TRUE(after[i + 2].isRowWrite(1, 5, 5));
  EXPECT_TRUE(after[i + 3].isRowWrite(2, 0, 1));
  EXPECT_TRUE(after[i + 4].isLevelPoll());
  EXPECT_EQ(device.read([](const DeviceData& d) {
    return readField(d.working.block(Side::Input, 5), InputField::Gain);
  }),
            250);
}

TEST_F(CommunicationWorkerTest, LoweredLimiterGoesAfterTheCompressor) {
  image.setField(Side::Output, 2, OutputField::Comp_Level, 450);
  connect();
  waitForRequests(2);
  std::size_t before = 0;
  {
    std::lock_guard lock(command.protocolLock());
    image.setField(Side::Output, 2, OutputField::Lim_Threshold, 400);
    image.setField(Side::Output, 2, OutputField::Comp_Level, 400);
    before = requests().size();
  }
  const auto after = waitForRequests(4, before);
  std::size_t i = after[0].isLevelPoll() ? 1 : 0;
  EXPECT_TRUE(after[i].isRowWrite(2, 2, 3));
  EXPECT_EQ(after[i].payload[0] | (after[i].payload[1] << 8), 400);
  EXPECT_TRUE(after[i + 1].isRowWrite(2, 2, 2));
  EXPECT_TRUE(after[i + 2].isLevelPoll());
}

TEST_F(CommunicationWorkerTest, ATransferMovesTheProgressAndEndsWhenItsLastFrameIsTaken) {
  device.modify([](DeviceData& d) { writeField(d.working.block(Side::Output, 6), OutputField::Delay, 777); });
  connect();
  ASSERT_TRUE(command.RecallProgram(0));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  std::vector<int> expected;
  for (int i = 0; i < 16; ++i) expected.push_back(i);
  EXPECT_EQ(notifier.progress(), expected);
  EXPECT_EQ(notifier.transferStates(), (std::vector<bool>{true, false}));
  EXPECT_EQ(image.field(Side::Output, 6, OutputField::Delay), 777);
}

TEST_F(CommunicationWorkerTest, ClosingParksTheWorkerAndEmptiesTheQueue) {
  connect();
  waitForRequests(2);
  image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
  command.CloseLink(LinkType::Usb);
  const std::size_t closedAt = requests().size();
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(requests().size(), closedAt);
  EXPECT_TRUE(command.queue().isEmpty());

  connect();
  waitForRequests(3, closedAt);
}

TEST_F(CommunicationWorkerTest, ADeviceThatAlwaysAnswersBadlyLosesTheLink) {
  connect();
  responder.setFaults(FaultPlan{.corruptEvery = 1});
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  const auto lost = notifier.messages();
  EXPECT_EQ(lost.back().wParam, static_cast<std::intptr_t>(LinkType::Usb));
}

// A worker that was never resumed must still end when the editor closes.
TEST(CommunicationWorkerLifetime, ShutdownWithoutEverConnecting) {
  ParameterImage image;
  RecordingNotifier notifier;
  auto command = std::make_unique<Command>(image, notifier);
  command->Shutdown();
  command.reset();
  EXPECT_TRUE(notifier.messages().empty());
}

}  // namespace
}  // namespace orvane
