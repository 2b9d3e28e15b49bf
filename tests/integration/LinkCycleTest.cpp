// Opening and closing each link over and over while the worker polls the
// device: the serial and network links against orvane-sim as a separate
// program, the USB link against the simulated device on the in-memory HID
// backend. A cycle must leave no thread and no descriptor behind.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <thread>

#include "link/Command.h"
#include "sim/MemoryHidBackend.h"
#include "support/RecordingNotifier.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"
#include "transport/NetPort.h"
#include "transport/SerialPort.h"
#include "transport/UsbPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

constexpr int kCycles = 200;

// The threads and the open descriptors of this process.
using Census = std::array<long, 2>;

long entries(const char* folder) {
  const auto listing = std::filesystem::directory_iterator(folder);
  return std::distance(std::filesystem::begin(listing), std::filesystem::end(listing));
}

Census census() {
  return Census{entries("/proc/self/task"), entries("/proc/self/fd")};
}

class LinkCycleTest : public ::testing::TestWithParam<LinkType> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(simulator.started());
    const LinkType link = GetParam();
    timings.netEventResetPause = 0ms;
    // On loopback the echo check first hears its own request.
    timings.echoNonAnswerPause = 1ms;
    command = std::make_unique<Command>(image, notifier, timings);
    command->attachTransport(link, transport(link));
  }
  void TearDown() override {
    if (command) command->Shutdown();
  }

  std::unique_ptr<Transport> transport(LinkType link) {
    LinkContext context = command->linkContext(link);
    if (link == LinkType::Serial) return std::make_unique<SerialPort>(context);
    if (link == LinkType::Usb) return std::make_unique<UsbPort>(context, backend, scratch.file("usb.lock"));
    return std::make_unique<NetPort>(context);
  }
  std::string address() const {
    if (GetParam() == LinkType::Serial) return simulator.serialPath();
    if (GetParam() == LinkType::Network) return simulator.address();
    return "";
  }

  // True once the worker has built a level poll beyond `count`: it polls
  // right after a reply, so this takes a few microseconds.
  bool pollBuiltAfter(std::uint64_t count) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (command->levelPolls() <= count)
      if (std::chrono::steady_clock::now() > deadline)
        return false;
      else
        std::this_thread::yield();
    return true;
  }

  // Opens the link, asks for the firmware version and, once the answer is
  // in, closes the link with the level poll that follows it in flight.
  void cycle(int n) {
    const LinkType link = GetParam();
    {
      std::lock_guard lock(command->protocolLock());
      ASSERT_TRUE(command->OpenLink(link, address())) << "cycle " << n;
      image.modify([&](ImageData& d) {
        d.connection.linkType = link;
        d.connection.deviceId = DeviceData::kDefaultDeviceId;
      });
      command->builders().RequestSystemItem(link, 0, SystemItem::FirmwareVersion);
    }
    const std::uint64_t polls = command->levelPolls();
    command->WakeWorker();
    ASSERT_TRUE(notifier.waitFor(Message::FirmwareVersionRead, n)) << "cycle " << n;
    ASSERT_TRUE(pollBuiltAfter(polls)) << "cycle " << n;
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
    command->CloseLink(link);
  }

  SimulatorProcess simulator{{"--serial"}};
  ScratchDir scratch{"link-cycle"};
  DeviceState usbDevice;
  DeviceResponder usbResponder{usbDevice};
  MemoryHidBackend backend{usbResponder};
  ParameterImage image;
  RecordingNotifier notifier;
  Timings timings;
  std::unique_ptr<Command> command;
};

TEST_P(LinkCycleTest, OpeningAndClosingWhilePollingLeavesNoThreadOrDescriptorBehind) {
  // The first cycle sets up what lives as long as the link machinery.
  cycle(1);
  const Census before = census();
  for (int n = 2; n <= kCycles + 1 && !HasFatalFailure(); ++n) cycle(n);
  EXPECT_EQ(census(), before);
  RecordProperty("threads", std::to_string(before[0]));
  RecordProperty("descriptors", std::to_string(before[1]));
  EXPECT_GE(command->levelPolls(), static_cast<std::uint64_t>(kCycles));
  EXPECT_EQ(notifier.count(Message::FirmwareVersionRead), kCycles + 1);
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

// Once the worker has handed a frame over, the link's transport takes the
// worker's next frames on its own thread and so polls on by itself. A level
// request made meanwhile is answered once and then spent; an edit and a
// queued request still reach the device, and polling goes on.
TEST_P(LinkCycleTest, WhileTheTransportPollsByItselfRequestsAndEditsStillGoOut) {
  const LinkType link = GetParam();
  {
    std::lock_guard lock(command->protocolLock());
    ASSERT_TRUE(command->OpenLink(link, address()));
    image.modify([&](ImageData& d) {
      d.connection.linkType = link;
      d.connection.deviceId = DeviceData::kDefaultDeviceId;
    });
  }
  ASSERT_TRUE(pollBuiltAfter(20));

  command->levelRequest().request();
  ASSERT_TRUE(notifier.waitFor(Message::LevelsRead));
  EXPECT_FALSE(command->levelRequest().requested());
  ASSERT_TRUE(pollBuiltAfter(command->levelPolls() + 20));
  EXPECT_EQ(notifier.count(Message::LevelsRead), 1);

  image.setField(Side::Output, 1, OutputField::Gain, 123);
  {
    std::lock_guard lock(command->protocolLock());
    command->builders().RequestSystemItem(link, 0, SystemItem::FirmwareVersion);
  }
  command->WakeWorker();
  ASSERT_TRUE(notifier.waitFor(Message::FirmwareVersionRead));
  // Two polls after the edit: its row was written before them.
  ASSERT_TRUE(pollBuiltAfter(command->levelPolls() + 2));
  if (link == LinkType::Usb) {
    EXPECT_EQ(usbDevice.read([](const DeviceData& d) {
      return readField(d.working.block(Side::Output, 1), OutputField::Gain);
    }),
              123);
  }
  EXPECT_EQ(image.field(Side::Output, 1, OutputField::Gain, Copy::Device), 123);
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
  image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
  command->CloseLink(link);
}

INSTANTIATE_TEST_SUITE_P(EachLink, LinkCycleTest,
                         ::testing::Values(LinkType::Serial, LinkType::Usb, LinkType::Network),
                         [](const auto& info) {
                           const LinkType link = info.param;
                           return link == LinkType::Serial ? "Serial"
                                  : link == LinkType::Usb  ? "Usb"
                                                           : "Network";
                         });

}  // namespace
}  // namespace orvane
