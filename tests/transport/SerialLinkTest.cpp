// The editor's link machinery over the serial port to simulated devices on
// the simulator's RS-485 bus, a real pseudo-terminal between them.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "link/Command.h"
#include "sim/DeviceResponder.h"
#include "sim/SerialBusServer.h"
#include "support/RecordingNotifier.h"
#include "transport/SerialPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

constexpr std::intptr_t kSerial = 1;

Timings quick() {
  Timings t;
  t.serialIdProbe = 40ms;
  t.serialTransferSynced = t.serialTransferAwaiting = t.serialTransferOther = 200ms;
  t.serialSynced = t.serialLongOperation = t.serialNameRead = t.serialOther = 200ms;
  t.serialAfterLongWrite = 20ms;
  t.serialAfterRead = 1ms;
  t.serialRetryReadPause = 1ms;
  return t;
}

// Serial time-outs nobody waits for: only immediate re-writes move on.
Timings patient() {
  Timings t = quick();
  t.serialTransferSynced = t.serialTransferAwaiting = t.serialTransferOther = 1h;
  t.serialSynced = t.serialLongOperation = t.serialNameRead = t.serialOther = 1h;
  return t;
}

// One request as a device on the bus heard it.
struct Heard {
  std::uint8_t cmd, deviceId, block, item, row;
  bool isLevelPoll() const { return cmd == 0xA2 && block == 3 && item == 3; }
  bool isInputRowWrite(int channel) const { return cmd == 0xA1 && block == 1 && item == channel; }
};

// A bus with a simulated device under each ID, the editor's Command with a
// serial port attached. Every device hears every request; the first one
// keeps the log of what went over the bus.
class SerialLink {
 public:
  SerialLink(std::vector<int> ids, Timings timings) : command(image, notifier, timings) {
    for (int id : ids) {
      auto& device = devices.emplace_back(std::make_unique<Device>());
      device->state.setDeviceId(id);
    }
    if (!devices.empty()) {
      devices.front()->responder.setRequestObserver([this](const SendData& request) {
        std::lock_guard lock(mutex);
        heard.push_back({request.cmd(), request.at(7), request.block(), request.item(), request.row()});
      });
    }
    command.attachTransport(LinkType::Serial,
                            std::make_unique<SerialPort>(command.linkContext(LinkType::Serial)));
  }
  // The bus goes before the devices and the log it feeds.
  ~SerialLink() {
    command.Shutdown();
    bus.stop();
  }

  void addAll() {
    for (auto& device : devices) bus.addDevice(device->responder);
  }

  // Connects to device `id` as the main window does: open, then the full
  // read, all under the protocol lock.
  void connect(int id, bool fullRead = true) {
    std::lock_guard lock(command.protocolLock());
    ASSERT_TRUE(command.OpenLink(LinkType::Serial, bus.devicePath()));
    image.modify([&](ImageData& d) {
      d.connection.linkType = LinkType::Serial;
      d.connection.deviceId = id;
    });
    if (!fullRead) return;
    command.ReadDeviceSettings();
    ASSERT_TRUE(command.RecallProgram(0));
  }

  // What the handler of a lost link does to the link.
  void disconnect() {
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
    command.CloseLink(LinkType::Serial);
  }

  std::vector<Heard> requests() {
    std::lock_guard lock(mutex);
    return heard;
  }

  // Waits until `pred` holds for what was heard.
  template <class Pred>
  bool waitUntil(Pred pred, std::chrono::milliseconds timeout = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
      if (pred()) return true;
      std::this_thread::sleep_for(2ms);
    }
    return pred();
  }

  struct Device {
    DeviceState state;
    DeviceResponder responder{state};
  };

  SerialBusServer bus;
  std::vector<std::unique_ptr<Device>> devices;
  ParameterImage image;
  RecordingNotifier notifier;
  std::mutex mutex;
  std::vector<Heard> heard;
  Command command;
};

std::vector<std::uint8_t> blockOf(const DeviceState& state, Side side, int channel) {
  return state.read([&](const DeviceData& d) {
    const auto block = d.working.block(side, channel);
    return std::vector<std::uint8_t>(block.begin(), block.end());
  });
}

std::vector<std::uint8_t> blockOf(const ParameterImage& image, Side side, int channel) {
  std::vector<std::uint8_t> block(blockSize(side));
  image.readBlock(side, channel, Copy::Edited, block);
  return block;
}

// --- connecting ---------------------------------------------------------------

TEST(SerialLinkConnect, TheFullReadBringsTheAddressedDevicesWorkingState) {
  SerialLink link({2, 9}, quick());
  link.devices[1]->state.modify([](DeviceData& d) {
    writeField(d.working.block(Side::Output, 6), OutputField::Delay, 777);
    writeField(d.working.block(Side::Input, 2), InputField::Gain, 250);
  });
  link.devices[0]->state.modify(
      [](DeviceData& d) { writeField(d.working.block(Side::Input, 2), InputField::Gain, 111); });
  link.addAll();
  link.connect(9);

  ASSERT_TRUE(link.notifier.waitFor(Message::ChannelDataRead));
  for (Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      EXPECT_EQ(blockOf(link.image, side, channel), blockOf(link.devices[1]->state, side, channel))
          << (side == Side::Input ? "input " : "output ") << channel;
  EXPECT_EQ(link.notifier.count(Message::LinkLost), 0);
  for (const Heard& request : link.requests()) EXPECT_EQ(request.deviceId, 9);
}

TEST(SerialLinkConnect, AnEditReachesTheDeviceAsARowWrite) {
  SerialLink link({9}, quick());
  link.addAll();
  link.connect(9);
  ASSERT_TRUE(link.notifier.waitFor(Message::ChannelDataRead));

  link.image.setField(Side::Input, 3, InputField::Gain, 333);
  ASSERT_TRUE(link.waitUntil([&] {
    return link.devices[0]->state.read([](const DeviceData& d) {
      return readField(d.working.block(Side::Input, 3), InputField::Gain);
    }) == 333;
  }));
  const auto requests = link.requests();
  const auto write = std::ranges::find_if(requests, [](const Heard& h) { return h.isInputRowWrite(3); });
  ASSERT_NE(write, requests.end());
  EXPECT_EQ(write->row, InputField::Gain.row());
}

TEST(SerialLinkConnect, TheLinkCanBeClosedAndOpenedAgain) {
  SerialLink link({9}, quick());
  link.addAll();
  link.connect(9);
  ASSERT_TRUE(link.notifier.waitFor(Message::ChannelDataRead));
  link.disconnect();

  link.connect(9);
  ASSERT_TRUE(link.notifier.waitFor(Message::ChannelDataRead, 2));
  EXPECT_EQ(link.notifier.count(Message::LinkLost), 0);
}

// --- faults -------------------------------------------------------------------

TEST(SerialLinkFaults, TwoCorruptRepliesInARowAreAskedForAgainAtOnce) {
  SerialLink link({9}, patient());
  // The device garbles its first two answers to the row write, then
  // answers properly.
  std::atomic<int> garbled{0};
  DeviceResponder& responder = link.devices[0]->responder;
  link.bus.addDevice([&](std::span<const std::uint8_t> request) {
    auto reply = responder.respond(request);
    const bool rowWrite = request[4] == 0xA1 && request[9] == 1 && request[10] == 3;
    if (reply && rowWrite && garbled < 2) {
      ++garbled;
      (*reply)[reply->size() - 2] ^= 0x5A;  // the checksum
    }
    return reply;
  });
  link.connect(9);
  ASSERT_TRUE(link.notifier.waitFor(Message::ChannelDataRead));

  link.image.setField(Side::Input, 3, InputField::Gain, 333);
  ASSERT_TRUE(link.waitUntil([&] {
    const auto all = link.requests();
    const auto writes = std::ranges::count_if(all, [](const Heard& h) { return h.isInputRowWrite(3); });
    return writes == 3 && !all.back().isInputRowWrite(3);
  })) << "expected the row write three times, then the exchanges going on";
  EXPECT_EQ(garbled, 2);
  EXPECT_EQ(link.devices[0]->state.read([](const DeviceData& d) {
    return readField(d.working.block(Side::Input, 3), InputField::Gain);
  }),
            333);
  EXPECT_EQ(link.notifier.count(Message::LinkLost), 0);
}

TEST(SerialLinkFaults, ADeviceThatNeverAnswersCostsTwoRewritesThenTheLink) {
  // Device 2 only listens: nobody answers to ID 4.
  SerialLink link({2}, quick());
  link.addAll();
  link.connect(4, false);

  ASSERT_TRUE(link.notifier.waitFor(Message::LinkLost));
  const PostedMessage lost = link.notifier.messages().back();
  EXPECT_EQ(lost.wParam, kSerial);
  EXPECT_EQ(lost.lParam, 0);
  ASSERT_TRUE(link.waitUntil([&] { return link.requests().size() >= 3; }));
  const auto requests = link.requests();
  ASSERT_EQ(requests.size(), 3u);
  for (const Heard& request : requests) {
    EXPECT_TRUE(request.isLevelPoll());
    EXPECT_EQ(request.deviceId, 4);
  }
  link.disconnect();
}

TEST(SerialLinkFaults, TheSimulatorGoingAwayLosesTheLink) {
  SerialLink link({9}, quick());
  link.addAll();
  link.connect(9);
  ASSERT_TRUE(link.notifier.waitFor(Message::ChannelDataRead));
  link.bus.stop();
  ASSERT_TRUE(link.notifier.waitFor(Message::LinkLost));
  EXPECT_EQ(link.notifier.messages().back().wParam, kSerial);
  link.disconnect();
}

// --- searching the bus -----------------------------------------------------------

void search(SerialLink& link) {
  std::lock_guard lock(link.command.protocolLock());
  ASSERT_TRUE(link.command.OpenLink(LinkType::Serial, link.bus.devicePath()));
  link.image.modify([](ImageData& d) { d.connection.linkType = LinkType::Serial; });
  ASSERT_TRUE(link.command.StartIdSearch());
}

std::vector<int> found(const ParameterImage& image) {
  std::vector<int> ids;
  image.read([&](const ImageData& d) {
    for (auto entry : d.connection.idTable)
      if (entry != 0) ids.push_back(entry);
  });
  return ids;
}

std::vector<int> allIds() {
  std::vector<int> ids;
  for (int id = 1; id <= ConnectionState::kMaxDeviceId; ++id) ids.push_back(id);
  return ids;
}

TEST(SerialLinkIdSearch, FindsTheDevicesOnTheBus) {
  SerialLink link({3, 17}, quick());
  link.addAll();
  search(link);

  ASSERT_TRUE(link.notifier.waitFor(Message::LinkLost, 1, 120s));
  EXPECT_EQ(found(link.image), (std::vector<int>{3, 17}));
  EXPECT_EQ(link.notifier.idSearchProgress(), allIds());
  const PostedMessage ended = link.notifier.messages().back();
  EXPECT_EQ(ended.wParam, kSerial);
  EXPECT_EQ(ended.lParam, 0);
  EXPECT_EQ(link.notifier.idSearchEndings(), 0);
  link.disconnect();
}

// The one test with the device's own timing: 250 answer windows of 30 ms.
TEST(SerialLinkIdSearch, AnEmptyBusEndsTheSearchAfterTheLastId) {
  SerialLink link({}, Timings{});
  search(link);

  ASSERT_TRUE(link.notifier.waitFor(Message::LinkLost, 1, 120s));
  EXPECT_TRUE(found(link.image).empty());
  EXPECT_EQ(link.notifier.idSearchProgress(), allIds());
  EXPECT_EQ(link.notifier.messages().back().wParam, kSerial);
  EXPECT_EQ(link.notifier.count(Message::LinkLost), 1);
  link.disconnect();
}

}  // namespace
}  // namespace orvane
