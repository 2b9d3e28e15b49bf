// The USB port between a link slot and the simulated device on the
// in-memory HID backend: how frames are cut into reports, how replies are
// assembled, re-sent and given up, and what an unplugged device does.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "model/ParameterImage.h"
#include "protocol/FrameBytes.h"
#include "protocol/ReplyDispatcher.h"
#include "sim/MemoryHidBackend.h"
#include "support/LinkParts.h"
#include "transport/UsbPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::counting;

constexpr auto kWait = 10s;

// The data bytes of a report, report ID byte left out.
Bytes dataOf(const HidReport& report) {
  return Bytes(report.begin() + 1, report.end());
}

class UsbPortTest : public ::testing::Test, protected LinkParts {
 protected:
  UsbPortTest() {
    device.setRequestObserver([this](const SendData&) {
      ++requests;
      requestSeen.set();
    });
  }
  ~UsbPortTest() override {
    port.shutdown();
    std::filesystem::remove(lockPath);
  }

  // A frame written into the transmit frame byte by byte and finalised with
  // nonce 0x11, as the worker leaves it for the transport.
  void putFrame(const Bytes& header, const Bytes& payload = {}, ReplyKind kind = ReplyKind::None) {
    slot.withFrames([&](SendData& transmit, SendData&) {
      std::copy(header.begin(), header.end(), transmit.bytes.begin() + 4);
      std::copy(payload.begin(), payload.end(), transmit.bytes.begin() + 14);
      transmit.replyKind = kind;
      transmit.finalise(0x11);
    });
  }
  // A read request: CmdRead, USB, nonce, ID 0, working state, block, item,
  // row 0, reserved, length 8, eight zero bytes.
  void putRead(std::uint8_t block, std::uint8_t item, ReplyKind kind = ReplyKind::None) {
    putFrame({0xA2, 0x02, 0x00, 0x00, 0x00, block, item, 0x00, 0x00, 0x08}, Bytes(8, 0), kind);
  }
  bool inFlight() {
    return slot.withFrames([](const SendData& transmit, const SendData&) { return transmit.ready; });
  }
  Bytes deviceCopyOfInput(int channel) {
    Bytes block(kInputBlockSize);
    image.readBlock(Side::Input, channel, Copy::Device, block);
    return block;
  }
  // Signals the frame in flight and waits until the port took the reply or
  // gave the frame up.
  void exchange() {
    replyEvent.reset();
    port.signalWrite();
    ASSERT_TRUE(replyEvent.wait(kWait));
  }
  void expectNoLinkLost() { EXPECT_EQ(notifier.count(Message::LinkLost), 0); }
  void expectLinkLostOnce() {
    const auto messages = notifier.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, Message::LinkLost);
    EXPECT_EQ(messages[0].wParam, 2);  // USB
    EXPECT_EQ(messages[0].lParam, 0);
  }

  const std::filesystem::path lockPath = std::filesystem::temp_directory_path() /
                                         ("orvane-usb-port-test-" + std::to_string(::getpid()) + ".lock");
  DeviceState state;
  DeviceResponder device{state};
  std::atomic<int> requests{0};
  Event requestSeen;
  MemoryHidBackend backend{device};
  UsbPort port{context(), backend, lockPath};
};

// --- frames into reports -----------------------------------------------------

TEST_F(UsbPortTest, ShortFrameGoesOutAsOneZeroFilledReport) {
  ASSERT_TRUE(port.open(""));
  // CmdWrite of the start-up program item with no payload: 16 bytes.
  putFrame({0xA1, 0x02, 0x00, 0x00, 0x00, 0x03, 0x18, 0x00, 0x00, 0x00});
  exchange();

  const auto reports = backend.writtenReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0][0], 0x00);  // report ID
  const Bytes frame = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0xA1, 0x02, 0x11, 0x00,  // CmdWrite, USB, nonce, device ID
      0x00, 0x03, 0x18, 0x00,  // working state, system item 24, row 0
      0x00, 0x00,              // reserved, length 0
      0xA9, 0xAA,              // checksum, end
  };
  EXPECT_EQ(dataOf(reports[0]), test::concat(frame, Bytes(48, 0x00)));
  EXPECT_FALSE(inFlight());
  expectNoLinkLost();
}

TEST_F(UsbPortTest, InputBlockWriteGoesOutAsThreeReportsTheLastCarryingEightBytes) {
  ASSERT_TRUE(port.open(""));
  // CmdWrite of input channel 2 whole (row 0, 120 bytes): 136 bytes.
  putFrame({0xA1, 0x02, 0x00, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x78}, counting(120));
  exchange();

  // XOR of 0..119 is 0, so the checksum is that of the header alone.
  const Bytes frame =
      test::frame({0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x02, 0x11, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x78},
                  counting(120), 0xC9);
  const auto reports = backend.writtenReports();
  ASSERT_EQ(reports.size(), 3u);
  for (const HidReport& report : reports) EXPECT_EQ(report[0], 0x00);
  EXPECT_EQ(dataOf(reports[0]), Bytes(frame.begin(), frame.begin() + 64));
  EXPECT_EQ(dataOf(reports[1]), Bytes(frame.begin() + 64, frame.begin() + 128));
  EXPECT_EQ(dataOf(reports[2]), test::concat(Bytes(frame.begin() + 128, frame.end()), Bytes(56, 0x00)));
  EXPECT_EQ(state.read([](const DeviceData& d) {
    return Bytes(d.working.inputs[2].begin(), d.working.inputs[2].end());
  }),
            counting(120));
  EXPECT_FALSE(inFlight());
  expectNoLinkLost();
}

// A frame of exactly 64 bytes fills one report; one more byte takes a
// second report.
TEST_F(UsbPortTest, FramesAtTheReportBoundary) {
  ASSERT_TRUE(port.open(""));
  for (const std::size_t length : {48u, 49u}) {
    SCOPED_TRACE(length);
    const long before = backend.reportsWritten();
    // CmdWrite of a camera message (system item 54).
    putFrame({0xA1, 0x02, 0x00, 0x00, 0x00, 0x03, 0x36, 0x00, 0x00, static_cast<std::uint8_t>(length)},
             counting(length, 0x40));
    const Bytes wire = slot.withFrames([](const SendData& transmit, const SendData&) {
      return Bytes(transmit.wire().begin(), transmit.wire().end());
    });
    exchange();

    const auto all = backend.writtenReports();
    const std::vector<HidReport> sent(all.begin() + before, all.end());
    ASSERT_EQ(sent.size(), length == 48 ? 1u : 2u);
    Bytes data;
    for (const HidReport& report : sent) data = test::concat(data, dataOf(report));
    EXPECT_EQ(Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(wire.size())), wire);
    EXPECT_EQ(Bytes(data.begin() + static_cast<std::ptrdiff_t>(wire.size()), data.end()),
              Bytes(data.size() - wire.size(), 0x00));
  }
  EXPECT_EQ(state.read([](const DeviceData& d) { return d.lastCameraMessage; }), counting(49, 0x40));
}

// --- replies -------------------------------------------------------------------

TEST_F(UsbPortTest, ReplyLongerThanOneReportIsAssembledAcrossReports) {
  state.modify([](DeviceData& d) { d.working.inputs[5].fill(0x5C); });
  ASSERT_TRUE(port.open(""));
  putRead(1, 5);  // input block, channel 5: a 136-byte reply in three reports
  exchange();
  EXPECT_EQ(deviceCopyOfInput(5), Bytes(120, 0x5C));
  EXPECT_FALSE(inFlight());
  EXPECT_EQ(requests, 1);
  expectNoLinkLost();
}

TEST_F(UsbPortTest, TwoCorruptRepliesThenAGoodOneSucceedOnTheThirdSend) {
  state.modify([](DeviceData& d) { d.working.inputs[1].fill(0x31); });
  device.setFaults({.corruptEvery = 1});
  device.setRequestObserver([this](const SendData&) {
    if (++requests == 3) device.setFaults({});
  });
  ASSERT_TRUE(port.open(""));
  putRead(1, 1);
  exchange();

  EXPECT_EQ(requests, 3);
  EXPECT_EQ(backend.opens(), 3);  // the device is opened afresh before each re-send
  EXPECT_EQ(deviceCopyOfInput(1), Bytes(120, 0x31));
  EXPECT_FALSE(inFlight());
  expectNoLinkLost();
}

TEST_F(UsbPortTest, ThreeCorruptRepliesGiveTheLinkUp) {
  device.setFaults({.corruptEvery = 1});
  ASSERT_TRUE(port.open(""));
  putRead(1, 1);
  exchange();

  EXPECT_EQ(requests, 3);
  EXPECT_FALSE(inFlight());
  expectLinkLostOnce();
  // The device is still there: the next frame goes through.
  device.setFaults({});
  putRead(3, 4);
  exchange();
  EXPECT_EQ(requests, 4);
  EXPECT_FALSE(inFlight());
  EXPECT_EQ(notifier.count(Message::LinkLost), 1);
}

TEST_F(UsbPortTest, MissingRepliesAreSentForAgainThenTheLinkIsLostOnce) {
  timings.usbEventWait = 50ms;
  device.setFaults({.dropEvery = 1});
  ASSERT_TRUE(port.open(""));
  putRead(3, 3);
  exchange();

  EXPECT_EQ(requests, 3);
  EXPECT_EQ(backend.opens(), 1);  // a silent device is not re-opened
  EXPECT_FALSE(inFlight());
  expectLinkLostOnce();
  // Nothing is in flight any more: no further sends and no further reports.
  std::this_thread::sleep_for(timings.usbEventWait * 6);
  EXPECT_EQ(requests, 3);
  EXPECT_EQ(notifier.count(Message::LinkLost), 1);
}

// After a missing reply the frame goes again from its first piece.
TEST_F(UsbPortTest, ResendAfterAMissingReplyStartsFromTheFirstPiece) {
  timings.usbEventWait = 50ms;
  device.setFaults({.dropEvery = 2});
  ASSERT_TRUE(port.open(""));
  putRead(3, 3);
  exchange();  // reply 1 arrives
  putFrame({0xA1, 0x02, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x00, 0x78}, counting(120, 7));
  exchange();  // reply 2 is lost, reply 3 arrives

  EXPECT_EQ(requests, 3);
  const auto reports = backend.writtenReports();
  ASSERT_EQ(reports.size(), 7u);
  for (std::size_t piece = 0; piece < 3; ++piece) EXPECT_EQ(reports[1 + piece], reports[4 + piece]);
  EXPECT_FALSE(inFlight());
  expectNoLinkLost();
}

// --- transfers that fail --------------------------------------------------------

// A transfer that fails while the device stays plugged in (the kernel's
// write time-out, a busy bus) costs one attempt: the device is opened afresh
// and the frame sent again from its first piece.
TEST_F(UsbPortTest, AFailedTransferCostsOneAttemptAndTheFrameGoesAgain) {
  ASSERT_TRUE(port.open(""));
  backend.failWrites(1, 2);  // the third report of the block write
  putFrame({0xA1, 0x02, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x00, 0x78}, counting(120, 7));
  exchange();

  const auto reports = backend.writtenReports();
  ASSERT_EQ(reports.size(), 5u);
  EXPECT_EQ(reports[2], reports[0]);
  EXPECT_EQ(reports[3], reports[1]);
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(backend.opens(), 2);

  backend.failReads(1);  // the reply to the level poll
  putRead(3, 3);
  exchange();
  EXPECT_EQ(requests, 3);
  EXPECT_EQ(backend.opens(), 3);
  EXPECT_FALSE(inFlight());
  expectNoLinkLost();
}

TEST_F(UsbPortTest, ThreeFailedTransfersGiveTheLinkUpAfterTheThirdAttempt) {
  ASSERT_TRUE(port.open(""));
  backend.failWrites(3);
  putRead(3, 3);
  exchange();

  EXPECT_EQ(backend.opens(), 3);
  EXPECT_EQ(backend.reportsWritten(), 0);
  EXPECT_TRUE(port.isDeviceOpen());
  EXPECT_FALSE(inFlight());
  expectLinkLostOnce();
}

// A failed transfer of a device that cannot be opened again (it went away
// during the transfer) ends the link at once instead of using up attempts.
TEST_F(UsbPortTest, AFailedTransferOfADeviceThatCannotBeReopenedLosesTheLinkOnce) {
  ASSERT_TRUE(port.open(""));
  backend.failWrites(1);
  backend.setPresent(false);
  putRead(3, 3);
  exchange();

  EXPECT_FALSE(port.isDeviceOpen());
  EXPECT_FALSE(backend.isOpen());
  EXPECT_EQ(backend.opens(), 1);
  EXPECT_EQ(requests, 0);
  EXPECT_FALSE(inFlight());
  expectLinkLostOnce();
}

// --- the device going away ------------------------------------------------------

TEST_F(UsbPortTest, UnpluggedDeviceIsReportedLostOnce) {
  ASSERT_TRUE(port.open(""));
  putRead(3, 3);
  exchange();
  backend.unplug();
  putRead(3, 3);
  exchange();

  EXPECT_FALSE(port.isDeviceOpen());
  EXPECT_EQ(backend.opens(), 1);  // a device that is gone is not tried again
  EXPECT_FALSE(inFlight());
  expectLinkLostOnce();
  // Frames signalled after that are not written and not reported again.
  putRead(3, 3);
  replyEvent.reset();
  port.signalWrite();
  EXPECT_FALSE(replyEvent.wait(200ms));
  EXPECT_EQ(notifier.count(Message::LinkLost), 1);

  port.close();
  EXPECT_FALSE(port.open(""));  // still unplugged
  backend.setPresent(true);
  ASSERT_TRUE(port.open(""));
  slot.clear(true);
  putRead(3, 3);
  exchange();
  EXPECT_FALSE(inFlight());
  EXPECT_EQ(notifier.count(Message::LinkLost), 1);
}

// Unplugged while the port waits for a reply: the wait ends at once rather
// than running into the re-sends of a silent device.
TEST_F(UsbPortTest, UnplugWhileWaitingForTheReply) {
  timings.usbEventWait = 1h;
  device.setFaults({.dropEvery = 1});
  ASSERT_TRUE(port.open(""));
  putRead(3, 3);
  replyEvent.reset();
  port.signalWrite();
  ASSERT_TRUE(requestSeen.wait(kWait));
  backend.unplug();
  ASSERT_TRUE(replyEvent.wait(kWait));
  EXPECT_FALSE(port.isDeviceOpen());
  expectLinkLostOnce();
}

TEST_F(UsbPortTest, CloseDuringAnExchangeReportsNothingAndTheLinkWorksAfterReopening) {
  device.setFaults({.dropEvery = 1});
  ASSERT_TRUE(port.open(""));
  putRead(3, 3);
  port.signalWrite();
  ASSERT_TRUE(requestSeen.wait(kWait));
  port.close();
  port.close();
  EXPECT_FALSE(backend.isOpen());
  EXPECT_FALSE(port.isDeviceOpen());

  device.setFaults({});
  slot.clear(true);
  ASSERT_TRUE(port.open(""));
  putRead(3, 3);
  exchange();
  EXPECT_FALSE(inFlight());
  expectNoLinkLost();
}

// --- finding the device --------------------------------------------------------------

TEST_F(UsbPortTest, OnlyADeviceWithExactlyTheKvs7304IdentityIsOpened) {
  backend.addOtherDevice({"other:old-release", {0x0483, 0x5750, 0x0100}});
  backend.addOtherDevice({"other:other-product", {0x0483, 0x5751, 0x0200}});
  backend.setPresent(false);
  EXPECT_FALSE(port.open(""));
  EXPECT_FALSE(port.isDeviceOpen());

  backend.setPresent(true);
  ASSERT_TRUE(port.open(""));
  EXPECT_TRUE(port.isDeviceOpen());
  EXPECT_EQ(port.devicePath(), MemoryHidBackend::kDefaultPath);
}

TEST_F(UsbPortTest, FramesSignalledWhileClosedAreNotWritten) {
  putRead(3, 3);
  port.signalWrite();
  EXPECT_FALSE(replyEvent.wait(100ms));
  EXPECT_EQ(backend.reportsWritten(), 0);
  EXPECT_TRUE(inFlight());
}

TEST_F(UsbPortTest, NothingOpensAfterShutdown) {
  port.shutdown();
  port.shutdown();
  EXPECT_FALSE(port.open(""));
  port.close();
}

}  // namespace
}  // namespace orvane
