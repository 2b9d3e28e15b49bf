// The editor's link machinery over the network port, against the simulated
// device's TCP server on 127.0.0.1.

#include <gtest/gtest.h>

#include <mutex>

#include "NetTestSockets.h"
#include "link/Command.h"
#include "sim/TcpDeviceServer.h"
#include "support/RecordingNotifier.h"
#include "transport/NetPort.h"

namespace orvane {
namespace {

using namespace test;

// What the device saw of one request.
struct Seen {
  std::uint8_t cmd, nonce, value, block, item, row;
  std::vector<std::uint8_t> payload;

  bool sameFrame(const Seen& o) const {
    return cmd == o.cmd && nonce == o.nonce && value == o.value && block == o.block && item == o.item &&
           row == o.row && payload == o.payload;
  }
  bool isRowWrite(int b, int channel, int r) const {
    return cmd == 0xA1 && block == b && item == channel && row == r;
  }
  bool isNetworkWrite(int code) const { return cmd == 0xA1 && block == 3 && item == code; }
};

// Real timings, real echo check: the way the editor runs.
struct RealLink {};
// Shortened waits and no echo check, for tests that provoke many
// reconnects.
struct QuickLink {
  Timings timings() const {
    Timings t;
    t.netReceiveTimeout = std::chrono::milliseconds(250);
    t.netEventResetPause = std::chrono::milliseconds(1);
    return t;
  }
};

class NetPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    responder.setRequestObserver([this](const SendData& request) {
      std::lock_guard lock(mutex);
      seen.push_back({request.cmd(), request.at(FrameOffset::Nonce), request.value(), request.block(),
                      request.item(), request.row(),
                      std::vector<std::uint8_t>(request.payload().begin(), request.payload().end())});
    });
    ASSERT_TRUE(server.start("127.0.0.1", 0));
  }
  void TearDown() override {
    if (command) command->Shutdown();
    server.stop();
  }

  // The editor with its network port; `echo` replaces the ICMP check.
  void createEditor(Timings timings, std::unique_ptr<EchoProbe> echo = nullptr) {
    command = std::make_unique<Command>(image, notifier, timings);
    auto port = std::make_unique<NetPort>(command->linkContext(LinkType::Network), std::move(echo));
    net = port.get();
    command->attachTransport(LinkType::Network, std::move(port));
  }
  void createQuickEditor() { createEditor(QuickLink{}.timings(), std::make_unique<FixedEcho>(1)); }

  std::string address() const { return "127.0.0.1:" + std::to_string(server.port()); }

  // As the main window connects: under the protocol lock, open, set the
  // link type and, with `fullRead`, queue the full read of the device.
  bool connect(bool fullRead, const std::string& where = {}) {
    std::lock_guard lock(command->protocolLock());
    if (!command->OpenLink(LinkType::Network, where.empty() ? address() : where)) return false;
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::Network; });
    if (fullRead) {
      command->ReadDeviceSettings();
      command->RecallProgram(0);
      command->WakeWorker();
    }
    return true;
  }

  // As the main window does on a lost link.
  void disconnect() {
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
    command->CloseLink(LinkType::Network);
  }

  std::vector<Seen> requests() {
    std::lock_guard lock(mutex);
    return seen;
  }

  // Waits until some request satisfies `match`; how many did.
  template <class Match>
  int waitForRequests(Match match, int atLeast = 1) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int count = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      count = 0;
      for (const Seen& s : requests()) count += match(s) ? 1 : 0;
      if (count >= atLeast) return count;
      std::this_thread::sleep_for(2ms);
    }
    return count;
  }

  // Every channel block of the edited image equals the device's working
  // state.
  void expectImageEqualsDevice() {
    for (Side side : {Side::Input, Side::Output}) {
      for (int channel = 0; channel < kChannels; ++channel) {
        Bytes edited(blockSize(side));
        image.readBlock(side, channel, Copy::Edited, edited);
        const Bytes onDevice = device.read([&](const DeviceData& d) {
          const auto block = d.working.block(side, channel);
          return Bytes(block.begin(), block.end());
        });
        EXPECT_EQ(edited, onDevice) << (side == Side::Input ? "input " : "output ") << channel;
      }
    }
  }

  void giveTheDeviceDistinctSettings() {
    device.modify([](DeviceData& d) {
      for (int channel = 0; channel < kChannels; ++channel) {
        writeField(d.working.block(Side::Input, channel), InputField::Gain, 300 + channel);
        writeField(d.working.block(Side::Output, channel), OutputField::Delay, 100 + 7 * channel);
      }
    });
  }

  ParameterImage image;
  RecordingNotifier notifier;
  DeviceState device;
  DeviceResponder responder{device};
  TcpDeviceServer server{responder};
  std::unique_ptr<Command> command;
  NetPort* net = nullptr;
  std::mutex mutex;
  std::vector<Seen> seen;
};

// --- opening ----------------------------------------------------------------

TEST_F(NetPortTest, TheFullReadAfterConnectingWithTheRealTimings) {
  giveTheDeviceDistinctSettings();
  createEditor(Timings{});
  ASSERT_TRUE(connect(true));
  // The real check of 127.0.0.1 either answered or could not run here.
  EXPECT_TRUE(net->lastEchoResult() >= 0 || net->lastEchoResult() == EchoResult::NotPermitted);
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  const auto posted = notifier.messages();
  const auto read = std::find_if(posted.begin(), posted.end(), [](const PostedMessage& m) {
    return m.message == Message::ChannelDataRead;
  });
  EXPECT_EQ(read->wParam, 3);
  expectImageEqualsDevice();
  EXPECT_FALSE(command->connectionCheck().pending());
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
  EXPECT_EQ(server.connectionsAccepted(), 1);
}

TEST_F(NetPortTest, ADeviceThatRefusesTcpCannotBeOpened) {
  createEditor(Timings{});  // the real echo check: 127.0.0.1 answers pings
  EXPECT_FALSE(connect(false, "127.0.0.1:" + std::to_string(closedLoopbackPort())));
  EXPECT_TRUE(requests().empty());
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(NetPortTest, TheEchoCheckDecidesOnlyWhenItGetsNoAnswer) {
  createEditor(QuickLink{}.timings(), std::make_unique<FixedEcho>(EchoResult::NoAnswer));
  EXPECT_FALSE(connect(false));
  EXPECT_EQ(server.connectionsAccepted(), 0);
  command->Shutdown();

  createEditor(QuickLink{}.timings(), std::make_unique<FixedEcho>(EchoResult::NotPermitted));
  ASSERT_TRUE(connect(true));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  EXPECT_EQ(server.connectionsAccepted(), 1);
}

// --- exchanges --------------------------------------------------------------

TEST_F(NetPortTest, AParameterEditArrivesAsARowWrite) {
  createQuickEditor();
  ASSERT_TRUE(connect(false));
  image.setField(Side::Input, 5, InputField::Gain, 250);
  ASSERT_GE(waitForRequests([](const Seen& s) { return s.isRowWrite(1, 5, InputField::Gain.row()); }), 1);
  EXPECT_EQ(device.read([](const DeviceData& d) {
    return readField(d.working.block(Side::Input, 5), InputField::Gain);
  }),
            250);
}

TEST_F(NetPortTest, AnInputBlockWriteIsTheFrameAndOneZeroOnTheStream) {
  std::mutex streamMutex;
  Bytes stream;
  server.setStreamObserver([&](std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(streamMutex);
    stream.insert(stream.end(), bytes.begin(), bytes.end());
  });
  createQuickEditor();
  ASSERT_TRUE(connect(false));
  ASSERT_TRUE(command->SendWholeInput(3));
  command->WakeWorker();
  ASSERT_GE(waitForRequests([](const Seen& s) { return s.cmd == 0xA1 && s.block == 1 && s.item == 3; }), 1);
  disconnect();

  std::lock_guard lock(streamMutex);
  // The stream is nothing but frames, each followed by one zero byte.
  std::vector<Bytes> frames;
  for (std::size_t at = 0; at < stream.size();) {
    ASSERT_GE(stream.size() - at, 17u);
    ASSERT_EQ(Bytes(stream.begin() + at, stream.begin() + at + 4), (Bytes{0x5A, 0x5A, 0x5A, 0x88})) << at;
    const std::size_t size = stream[at + 13] + 17u;
    ASSERT_LE(at + size, stream.size());
    frames.emplace_back(stream.begin() + at, stream.begin() + at + size);
    at += size;
  }
  const auto block = std::find_if(frames.begin(), frames.end(),
                                  [](const Bytes& f) { return f[4] == 0xA1 && f[9] == 1 && f[10] == 3; });
  ASSERT_NE(block, frames.end());
  EXPECT_EQ(block->size(), 137u);
  EXPECT_EQ((*block)[13], 120);
  EXPECT_EQ((*block)[135], 0xAA);
  EXPECT_EQ((*block)[136], 0x00);
}

TEST_F(NetPortTest, RepliesInPiecesAreAssembled) {
  giveTheDeviceDistinctSettings();
  server.setFaults(TcpServerFaults{.replyPieces = 3, .pieceGap = 2ms});
  createQuickEditor();
  ASSERT_TRUE(connect(true));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  expectImageEqualsDevice();
  EXPECT_EQ(server.connectionsAccepted(), 1) << "a reply in pieces cost a reconnect";
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

// --- faults -----------------------------------------------------------------

TEST_F(NetPortTest, CorruptRepliesAreAskedForAgainWithoutLimit) {
  giveTheDeviceDistinctSettings();
  responder.setFaults(FaultPlan{.corruptEvery = 2});
  createQuickEditor();
  ASSERT_TRUE(connect(true));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  expectImageEqualsDevice();

  // Every reply corrupt: the frame in flight goes out again and again, the
  // same bytes on the same connection, and the link stays.
  responder.setFaults(FaultPlan{.corruptEvery = 1});
  const std::size_t before = requests().size();
  ASSERT_GE(waitForRequests([](const Seen&) { return true; }, static_cast<int>(before) + 30),
            static_cast<int>(before) + 30);
  const auto stuck = requests();
  for (std::size_t i = stuck.size() - 20; i < stuck.size(); ++i)
    EXPECT_TRUE(stuck[i].sameFrame(stuck.back())) << i;
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
  EXPECT_EQ(server.connectionsAccepted(), 1);

  // Good replies again: the link goes on to the next frame.
  image.setField(Side::Output, 1, OutputField::Delay, 900);
  responder.setFaults(FaultPlan{});
  ASSERT_EQ(waitForRequests([](const Seen& s) { return s.isRowWrite(2, 1, OutputField::Delay.row()); }), 1);
}

TEST_F(NetPortTest, MissingRepliesCostAReconnectEach) {
  giveTheDeviceDistinctSettings();
  responder.setFaults(FaultPlan{.dropEvery = 8});
  createQuickEditor();
  ASSERT_TRUE(connect(true));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  expectImageEqualsDevice();
  EXPECT_GT(server.connectionsAccepted(), 1);
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

TEST_F(NetPortTest, ADeviceThatClosesAfterEveryReplyStillGetsReadInFull) {
  giveTheDeviceDistinctSettings();
  server.setFaults(TcpServerFaults{.closeAfterReplies = 1});
  createQuickEditor();
  ASSERT_TRUE(connect(true));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  expectImageEqualsDevice();
  EXPECT_GT(server.connectionsAccepted(), 16);
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

TEST_F(NetPortTest, ASilentDeviceIsAskedThreeTimesThenTheLinkIsLost) {
  createQuickEditor();
  ASSERT_TRUE(connect(false));
  ASSERT_GE(waitForRequests([](const Seen&) { return true; }, 3), 3);
  responder.setFaults(FaultPlan{.dropEvery = 1});
  const int accepted = server.connectionsAccepted();
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  const auto posted = notifier.messages();
  ASSERT_EQ(posted.back().message, Message::LinkLost);
  EXPECT_EQ(posted.back().wParam, 3);
  EXPECT_EQ(posted.back().lParam, 0);
  // The frame went out on the first connection and on two new ones.
  EXPECT_EQ(server.connectionsAccepted(), accepted + 2);
  const auto all = requests();
  ASSERT_GE(all.size(), 3u);
  EXPECT_EQ(all[all.size() - 1].payload, all[all.size() - 3].payload);
  disconnect();
  EXPECT_EQ(notifier.count(Message::LinkLost), 1);
}

TEST_F(NetPortTest, AWrongConnectionCheckAnswerLosesTheLinkAfterThreeTries) {
  responder.setFaults(FaultPlan{.failConnectionCheck = true});
  createQuickEditor();
  ASSERT_TRUE(connect(true));
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  EXPECT_EQ(waitForRequests([](const Seen& s) { return s.block == 3 && s.item == 204; }, 3), 3);
  EXPECT_EQ(server.connectionsAccepted(), 3);
  disconnect();
  EXPECT_EQ(notifier.count(Message::ChannelDataRead), 0);
}

TEST_F(NetPortTest, ADeviceThatGoesAwayLosesTheLinkAtTheFirstFailedReconnect) {
  createQuickEditor();
  ASSERT_TRUE(connect(false));
  ASSERT_GE(waitForRequests([](const Seen&) { return true; }, 3), 3);
  ASSERT_TRUE(server.setRefusing(true));
  server.dropConnection();
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  EXPECT_EQ(server.connectionsAccepted(), 1);
  disconnect();
}

// --- the network module's own settings -------------------------------------

// Observed on loopback: LinkLost comes first, as soon as the request is out;
// the acknowledgement arrives before anyone closes the link and posts
// NetworkOperationDone after it.
TEST_F(NetPortTest, RenameAndFactoryResetEndTheLinkRightAfterTheRequest) {
  createQuickEditor();
  for (int item : {51, 49}) {
    notifier.clear();
    ASSERT_TRUE(connect(false));
    image.modify([](ImageData& d) { d.system.networkName = "Studio B"; });
    ASSERT_TRUE(command->SendSystemItem(0, item));
    ASSERT_TRUE(notifier.waitFor(Message::LinkLost)) << item;
    ASSERT_TRUE(notifier.waitFor(Message::NetworkOperationDone)) << item;
    const auto posted = notifier.messages();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, Message::LinkLost);
    EXPECT_EQ(posted[0].wParam, 3);
    EXPECT_EQ(posted[0].lParam, 0);
    EXPECT_EQ(posted[1].message, Message::NetworkOperationDone);
    EXPECT_EQ(posted[1].lParam, item == 51 ? 2 : 3);
    disconnect();
    EXPECT_EQ(waitForRequests([&](const Seen& s) { return s.isNetworkWrite(item); }), 1) << "sent once only";
  }
  EXPECT_EQ(device.read(
                [](const DeviceData& d) { return std::string(d.networkName.begin(), d.networkName.end()); }),
            DeviceState::kFactoryNetworkName);
  EXPECT_EQ(server.connectionsAccepted(), 2);
}

}  // namespace
}  // namespace orvane
