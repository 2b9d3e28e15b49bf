// The editor's link machinery (Command, worker, reply handling, image) over
// the USB port to the simulated device on the in-memory HID backend, with
// the device's real timing.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "link/Command.h"
#include "sim/MemoryHidBackend.h"
#include "support/RecordingNotifier.h"
#include "transport/UsbPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// A request as the device saw it.
struct Seen {
  std::uint8_t cmd, block, item, row;
};

class UsbSessionTest : public ::testing::Test {
 protected:
  UsbSessionTest() {
    device.setRequestObserver([this](const SendData& request) {
      std::lock_guard lock(mutex);
      seen.push_back({request.cmd(), request.block(), request.item(), request.row()});
      seenChanged.notify_all();
    });
    command.attachTransport(LinkType::Usb,
                            std::make_unique<UsbPort>(command.linkContext(LinkType::Usb), backend, lockPath));
  }
  ~UsbSessionTest() override {
    command.Shutdown();
    std::filesystem::remove(lockPath);
  }

  bool connect() {
    std::lock_guard lock(command.protocolLock());
    if (!command.OpenLink(LinkType::Usb, "")) return false;
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::Usb; });
    return true;
  }
  // The main window's connect: the full read is queued under the same hold
  // of the protocol lock as the opening, so the worker serves it first.
  bool connectAndRead(bool recallWorkingState) {
    std::lock_guard lock(command.protocolLock());
    if (!connect()) return false;
    command.ReadDeviceSettings();
    if (recallWorkingState) command.RecallProgram(0);
    command.WakeWorker();
    return true;
  }
  // What the main window does with a lost link or a disconnect.
  void disconnect() {
    image.modify([](ImageData& d) { d.connection.linkType = LinkType::None; });
    command.CloseLink(LinkType::Usb);
  }

  // Waits until the device saw a request matching `match`, at `from` or
  // later; its index, or nothing.
  template <class Match>
  std::optional<std::size_t> waitForRequest(Match match, std::size_t from = 0) {
    std::unique_lock lock(mutex);
    std::optional<std::size_t> found;
    seenChanged.wait_for(lock, 10s, [&] {
      for (std::size_t i = from; i < seen.size() && !found; ++i)
        if (match(seen[i])) found = i;
      return found.has_value();
    });
    return found;
  }

  const std::filesystem::path lockPath = std::filesystem::temp_directory_path() /
                                         ("orvane-usb-session-test-" + std::to_string(::getpid()) + ".lock");
  ParameterImage image;
  RecordingNotifier notifier;
  DeviceState state;
  DeviceResponder device{state};
  MemoryHidBackend backend{device};
  std::mutex mutex;
  std::condition_variable seenChanged;
  std::vector<Seen> seen;
  Command command{image, notifier};
};

TEST_F(UsbSessionTest, FullReadAfterConnectingBringsTheDevicesWorkingStateIntoTheEditor) {
  state.modify([](DeviceData& d) {
    writeField(d.working.block(Side::Input, 3), InputField::Gain, 123);
    writeField(d.working.block(Side::Output, 6), OutputField::Delay, 777);
    d.startupProgram = 9;
  });
  ASSERT_TRUE(connectAndRead(true));
  ASSERT_TRUE(notifier.waitFor(Message::ChannelDataRead));

  const BlockSet working = state.read([](const DeviceData& d) { return d.working; });
  EXPECT_TRUE(image.read([](const ImageData& d) { return d.edited; }) == working);
  EXPECT_EQ(image.field(Side::Output, 6, OutputField::Delay), 777);
  EXPECT_EQ(image.read([](const ImageData& d) { return d.system.startupProgram; }), 9);
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

TEST_F(UsbSessionTest, ParameterEditReachesTheDeviceAsARowWrite) {
  ASSERT_TRUE(connect());
  image.setField(Side::Input, 4, InputField::Gain, 250);
  const int row = InputField::Gain.row();
  const auto write = waitForRequest(
      [&](const Seen& s) { return s.cmd == 0xA1 && s.block == 1 && s.item == 4 && s.row == row; });
  ASSERT_TRUE(write);
  // The device has taken the row once it answers the next request.
  ASSERT_TRUE(waitForRequest([](const Seen&) { return true; }, *write + 1));
  EXPECT_EQ(state.read([](const DeviceData& d) {
    return readField(d.working.block(Side::Input, 4), InputField::Gain);
  }),
            250);
  EXPECT_EQ(notifier.count(Message::LinkLost), 0);
}

TEST_F(UsbSessionTest, UnplugDuringASessionLosesTheLinkOnce) {
  ASSERT_TRUE(connect());
  ASSERT_TRUE(waitForRequest([](const Seen& s) { return s.block == 3 && s.item == 3; }));
  backend.unplug();
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  disconnect();

  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, Message::LinkLost);
  EXPECT_EQ(messages[0].wParam, 2);
  EXPECT_EQ(messages[0].lParam, 0);
  EXPECT_FALSE(connect());  // the device is still gone

  backend.setPresent(true);
  ASSERT_TRUE(connect());
  const std::size_t before = [&] {
    std::lock_guard lock(mutex);
    return seen.size();
  }();
  std::unique_lock lock(mutex);
  EXPECT_TRUE(seenChanged.wait_for(lock, 10s, [&] { return seen.size() > before; }));
}

// A device that never gives the connection check's expected answer is
// asked three times, each after re-opening it; then the link is lost.
TEST_F(UsbSessionTest, FailedConnectionCheckLosesTheLinkAfterTheThirdAttempt) {
  device.setFaults({.failConnectionCheck = true});
  ASSERT_TRUE(connectAndRead(false));
  ASSERT_TRUE(notifier.waitFor(Message::LinkLost));
  disconnect();

  std::lock_guard lock(mutex);
  ASSERT_GE(seen.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(seen[i].item, 204);
  const auto checks =
      std::count_if(seen.begin(), seen.end(), [](const Seen& s) { return s.block == 3 && s.item == 204; });
  EXPECT_EQ(checks, 3);
  EXPECT_EQ(notifier.messages().front().wParam, 2);
}

}  // namespace
}  // namespace orvane
