#include <gtest/gtest.h>

#include <string_view>
#include <thread>

#include "link/ConnectTarget.h"
#include "link/ConnectionManager.h"
#include "sim/DeviceResponder.h"
#include "sim/InProcessTransport.h"
#include "support/RecordingNotifier.h"

namespace orvane {
namespace {

std::array<std::uint8_t, 8> version(std::string_view text) {
  std::array<std::uint8_t, 8> bytes{};
  std::copy_n(text.begin(), std::min(text.size(), bytes.size()), bytes.begin());
  return bytes;
}

TEST(FirmwareCheckTest, PrefixAndMajorVersionDecide) {
  const ProductVariant& j = ProductVariant::forModel(7304);
  const ProductVariant& s = ProductVariant::forModel(736);
  EXPECT_EQ(checkFirmware(version("J-DV1.20"), j), FirmwareVerdict::Accepted);
  EXPECT_EQ(checkFirmware(version("J-DV1.99"), j), FirmwareVerdict::Accepted);
  EXPECT_EQ(checkFirmware(version("J-DV2.00"), j), FirmwareVerdict::DeviceNewer);
  EXPECT_EQ(checkFirmware(version("J-DV10.1"), j), FirmwareVerdict::DeviceNewer);
  EXPECT_EQ(checkFirmware(version("J-DV0.90"), j), FirmwareVerdict::DeviceOlder);
  EXPECT_EQ(checkFirmware(version("J-DV.5"), j), FirmwareVerdict::DeviceOlder);
  EXPECT_EQ(checkFirmware(version("S-DV1.10"), j), FirmwareVerdict::WrongProduct);
  EXPECT_EQ(checkFirmware(version("S-DV1.10"), s), FirmwareVerdict::Accepted);
  EXPECT_EQ(checkFirmware(version(""), j), FirmwareVerdict::WrongProduct);
  EXPECT_EQ(checkFirmware(version("J-DV9999"), j), FirmwareVerdict::DeviceNewer);
}

TEST(ConnectTargetTest, TheThreeLinksAndTheirFaults) {
  const auto net = ConnectTarget::parse("net:127.0.0.1:9000");
  ASSERT_TRUE(net);
  EXPECT_EQ(net->link, LinkType::Network);
  EXPECT_EQ(net->address, "127.0.0.1:9000");
  EXPECT_EQ(ConnectTarget::parse("net:127.0.0.1")->address, "127.0.0.1");
  EXPECT_EQ(ConnectTarget::parse("usb")->link, LinkType::Usb);
  const auto serial = ConnectTarget::parse("serial:/dev/pts/7:17");
  ASSERT_TRUE(serial);
  EXPECT_EQ(serial->address, "/dev/pts/7");
  EXPECT_EQ(serial->deviceId, 17);
  EXPECT_EQ(ConnectTarget::refusal("serial:/dev/pts/7:17"), "");
  // Each refusal says what is wrong and what to give instead.
  const std::pair<const char*, const char*> bad[] = {
      {"", "'' names no link: usb, net:ADDR[:PORT] or serial:PORT:ID"},
      {"bluetooth", "'bluetooth' names no link: usb, net:ADDR[:PORT] or serial:PORT:ID"},
      {"net:", "'net:' gives no address"},
      {"net::80", "'net::80' gives no address"},
      {"net:127.0.0.1:0", "has no port 1 to 65535"},
      {"net:127.0.0.1:x", "has no port 1 to 65535"},
      {"net:room-dsp", "'net:room-dsp' is not an IPv4 address: host names are not supported"},
      {"net:300.1.2.3:80", "is not an IPv4 address"},
      {"serial:/dev/ttyS0", "needs the port and the device ID: serial:PORT:ID"},
      {"serial::5", "needs the port and the device ID"},
      {"serial:/dev/ttyS0:0", "'serial:/dev/ttyS0:0': a device ID is a number from 1 to 250"},
      {"serial:/dev/ttyS0:251", "a device ID is a number from 1 to 250"},
  };
  for (const auto& [text, refusal] : bad) {
    EXPECT_FALSE(ConnectTarget::parse(text)) << text;
    EXPECT_NE(ConnectTarget::refusal(text).find(refusal), std::string::npos) << ConnectTarget::refusal(text);
  }
}

class ConnectionManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (LinkType link : {LinkType::Network, LinkType::Serial})
      command.attachTransport(
          link, std::make_unique<InProcessTransport>(command.linkContext(link), responder, link));
  }
  void TearDown() override { command.Shutdown(); }

  ParameterImage image;
  RecordingNotifier notifier;
  DeviceState device;
  DeviceResponder responder{device};
  Command command{image, notifier};
  ConnectionManager connection{command, image, notifier};
};

TEST_F(ConnectionManagerTest, ConnectingReadsTheWholeDevice) {
  device.modify([](DeviceData& d) {
    writeField(d.working.block(Side::Input, 4), InputField::Gain, 123);
    d.currentProgramName = {'S', 't', 'a', 'g', 'e'};
  });
  ASSERT_TRUE(connection.connect(LinkType::Network, "127.0.0.1", 0));
  EXPECT_TRUE(connection.isConnected());
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  ASSERT_TRUE(notifier.waitFor(Message::FirmwareVersionRead));
  EXPECT_EQ(image.field(Side::Input, 4, InputField::Gain), 123);
  EXPECT_EQ(connection.checkFirmware(ProductVariant::forModel(7304)), FirmwareVerdict::Accepted);
  EXPECT_EQ(image.read([](const ImageData& d) { return d.currentProgramName[0]; }), 'S');
  EXPECT_FALSE(connection.connect(LinkType::Network, "127.0.0.1", 0));  // one link at a time
}

TEST_F(ConnectionManagerTest, DisconnectingResetsTheEditorButNotTheDevice) {
  device.modify([](DeviceData& d) { writeField(d.working.block(Side::Output, 1), OutputField::Gain, 99); });
  ASSERT_TRUE(connection.connect(LinkType::Network, "127.0.0.1", 0));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  connection.disconnect();
  EXPECT_FALSE(connection.isConnected());
  EXPECT_EQ(image.field(Side::Output, 1, OutputField::Gain), 300);
  EXPECT_FALSE(command.levelRequest().requested());
  EXPECT_EQ(device.read([](const DeviceData& d) {
    return readField(d.working.block(Side::Output, 1), OutputField::Gain);
  }),
            99);
  EXPECT_EQ(notifier.transferStates().back(), false);
}

// A search ends however the link ends: cancelled by closing, the next one
// runs; a loss report of the closed link is stale, one of the running search
// ends it, one of an open link or of a port that failed during the search is
// a loss to tell the user about.
TEST_F(ConnectionManagerTest, EveryEndOfALinkEndsTheIdSearch) {
  notifier.setProgressRange(0, 100);
  ASSERT_EQ(connection.startIdSearch("bus"), SearchStart::Started);
  EXPECT_TRUE(connection.idSearchRunning());
  EXPECT_EQ(connection.startIdSearch("bus"), SearchStart::Refused);
  EXPECT_EQ(connection.classifyLoss(LinkType::Serial), LinkLoss::SearchEnded);
  EXPECT_EQ(connection.classifyLoss(LinkType::Network), LinkLoss::Stale);

  connection.disconnect();
  EXPECT_FALSE(connection.idSearchRunning());
  EXPECT_EQ(connection.classifyLoss(LinkType::Serial), LinkLoss::Stale);
  // A serial port that fails ends the search itself: its loss report is a
  // loss, and a second failure finds no search to end.
  ASSERT_EQ(connection.startIdSearch("bus"), SearchStart::Started);
  LinkHooks& serialHooks = command.linkContext(LinkType::Serial).hooks;
  EXPECT_TRUE(serialHooks.endIdSearch());
  EXPECT_FALSE(serialHooks.endIdSearch());
  EXPECT_EQ(connection.classifyLoss(LinkType::Serial), LinkLoss::Lost);
  connection.disconnect();

  ASSERT_TRUE(connection.connect(LinkType::Network, "127.0.0.1", 0));
  EXPECT_EQ(connection.startIdSearch("bus"), SearchStart::Refused);
  EXPECT_EQ(connection.classifyLoss(LinkType::Network), LinkLoss::Lost);
  // The search has no part of the main progress bar.
  EXPECT_NE(notifier.progressRange().second, 250);
}

// A user interface that is slow to take the start of a transfer: the worker
// must still not be able to end it before it was started.
class SlowToStartNotifier : public RecordingNotifier {
 public:
  void setProgressRange(int lower, int upper) override {
    RecordingNotifier::setProgressRange(lower, upper);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
};

TEST(TransferMarkTest, ATransferEndsAfterItStarted) {
  ParameterImage image;
  SlowToStartNotifier notifier;
  DeviceState device;
  DeviceResponder responder{device};
  Command command{image, notifier};
  command.attachTransport(LinkType::Network,
                          std::make_unique<InProcessTransport>(command.linkContext(LinkType::Network),
                                                               responder, LinkType::Network));
  ConnectionManager connection{command, image, notifier};
  ASSERT_TRUE(connection.connect(LinkType::Network, "127.0.0.1", 0));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));
  ASSERT_TRUE(command.RecallProgram(0));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead, 2));
  EXPECT_FALSE(notifier.transferStates().back());
  command.Shutdown();
}

TEST_F(ConnectionManagerTest, ALinkWithoutTransportDoesNotOpen) {
  EXPECT_FALSE(connection.connect(LinkType::Usb, "", 0));
  EXPECT_FALSE(connection.isConnected());
  EXPECT_TRUE(command.queue().isEmpty());
}

}  // namespace
}  // namespace orvane
