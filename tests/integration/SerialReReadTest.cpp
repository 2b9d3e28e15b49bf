// Reading a connected RS-485 device again (after its ID was chosen anew)
// with the device's real timing, over a real pseudo-terminal to the
// simulator's bus.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "link/Command.h"
#include "sim/DeviceResponder.h"
#include "sim/SerialBusServer.h"
#include "support/RecordingNotifier.h"
#include "transport/SerialPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// A working re-read takes a fraction of a second; one that stalls is only
// released by the worker's 50 s reply wait.
constexpr auto kPatience = std::chrono::milliseconds(15s);

TEST(SerialReRead, AReReadWhileALevelPollIsInFlightCompletesPromptly) {
  std::atomic<int> pollsHeard{0};
  DeviceState device;
  DeviceResponder responder{device};
  SerialBusServer bus;
  bus.addDevice(responder);
  ParameterImage image;
  RecordingNotifier notifier;
  Command command(image, notifier);
  command.attachTransport(LinkType::Serial,
                          std::make_unique<SerialPort>(command.linkContext(LinkType::Serial)));
  auto queueFullRead = [&] {
    command.ReadDeviceSettings();
    ASSERT_TRUE(command.RecallProgram(0));
  };
  {
    std::lock_guard lock(command.protocolLock());
    ASSERT_TRUE(command.OpenLink(LinkType::Serial, bus.devicePath()));
    image.modify([](ImageData& d) {
      d.connection.linkType = LinkType::Serial;
      d.connection.deviceId = 1;
    });
    queueFullRead();
  }
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead, 1, kPatience));

  // Polling, with a device slow enough that the re-read is queued while the
  // poll it heard is still in flight.
  responder.setRequestObserver([&](const SendData& request) {
    if (request.block() == BlockCode::System && request.item() == SystemItem::Levels) ++pollsHeard;
  });
  bus.setReplyDelay(20ms);
  for (int waited = 0; pollsHeard.load() == 0; ++waited) {
    ASSERT_LT(waited, 10000) << "the link does not poll";
    std::this_thread::sleep_for(1ms);
  }
  {
    std::lock_guard lock(command.protocolLock());
    queueFullRead();
  }
  bus.setReplyDelay(0ms);

  EXPECT_TRUE(notifier.waitFor(Message::ChannelDataRead, 2, kPatience));
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
  EXPECT_EQ(notifier.count(Message::FirmwareVersionRead), 2);
  EXPECT_FALSE(command.connectionCheck().pending());
}

}  // namespace
}  // namespace orvane
