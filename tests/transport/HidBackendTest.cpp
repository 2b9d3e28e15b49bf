// The two ways the USB link reaches a HID device: hidapi on a machine
// without a KVS7304 attached, and the simulated device's in-memory backend
// seen report by report.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "model/ParameterImage.h"
#include "protocol/FrameBytes.h"
#include "protocol/ReplyDispatcher.h"
#include "sim/MemoryHidBackend.h"
#include "support/LinkParts.h"
#include "transport/HidapiBackend.h"
#include "transport/UsbPort.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Bytes;

// A report: ID 0, then `data`, zero-filled.
HidReport report(const Bytes& data) {
  HidReport r{};
  std::copy(data.begin(), data.end(), r.begin() + 1);
  return r;
}

Bytes dataOf(const HidReport& report) {
  return Bytes(report.begin() + 1, report.end());
}

// --- hidapi ---------------------------------------------------------------------

class HidapiBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto devices = backend.enumerate();
    if (std::any_of(devices.begin(), devices.end(),
                    [](const HidDeviceInfo& d) { return d.identity == UsbPort::kDeviceIdentity; }))
      GTEST_SKIP() << "a KVS7304 is attached to this machine";
  }

  HidapiBackend backend;
};

TEST_F(HidapiBackendTest, WithoutTheDeviceNothingOpensAndEveryTransferReportsItGone) {
  EXPECT_FALSE(backend.openFirst(UsbPort::kDeviceIdentity));
  EXPECT_FALSE(backend.open("/dev/orvane-no-such-hidraw"));

  HidReport buffer{};
  buffer.fill(0xEE);
  EXPECT_EQ(backend.write(buffer), HidStatus::Gone);
  const HidReadResult got = backend.read(buffer, 10ms);
  EXPECT_EQ(got.status, HidStatus::Gone);
  EXPECT_EQ(got.count, 0u);
  EXPECT_EQ(buffer, HidReport{});
  backend.close();
  backend.close();
}

TEST_F(HidapiBackendTest, UsbPortFailsToOpenAndLeavesTheDeviceFree) {
  const auto lockPath =
      std::filesystem::temp_directory_path() / ("orvane-hidapi-test-" + std::to_string(::getpid()) + ".lock");
  LinkParts link;
  {
    UsbPort port(link.context(), backend, lockPath);
    EXPECT_FALSE(port.open(""));
    EXPECT_FALSE(port.isDeviceOpen());
    UsbDeviceLock other(lockPath);
    EXPECT_TRUE(other.acquire());
  }
  EXPECT_TRUE(link.notifier.messages().empty());
  std::filesystem::remove(lockPath);
}

// --- the simulated device -----------------------------------------------------------

class MemoryHidBackendTest : public ::testing::Test {
 protected:
  void openDevice() { ASSERT_TRUE(backend.open(MemoryHidBackend::kDefaultPath)); }
  HidReadResult readInto(HidReport& buffer) { return backend.read(buffer, 10ms); }

  DeviceState state;
  DeviceResponder device{state, [] { return std::uint8_t{0x21}; }};
  MemoryHidBackend backend{device};
};

TEST_F(MemoryHidBackendTest, ReplyComesAsZeroFilledInputReports) {
  state.modify([](DeviceData& d) { d.working.inputs[2].fill(0x3C); });
  openDevice();
  const Bytes request = {
      0x5A, 0x5A, 0x5A, 0x88,              // sync, start
      0xA2, 0x02, 0x00, 0x00,              // CmdRead, USB, nonce, device ID
      0x00, 0x01, 0x02, 0x00,              // working state, input block, channel 2, row 0
      0x00, 0x08,                          // reserved, length 8
      0,    0,    0,    0,    0, 0, 0, 0,  // payload
      0xAB, 0xAA,                          // checksum, end
  };
  ASSERT_EQ(backend.write(report(request)), HidStatus::Ok);

  Bytes data;
  for (int i = 0; i < 3; ++i) {
    HidReport buffer{};
    const HidReadResult got = readInto(buffer);
    ASSERT_EQ(got.status, HidStatus::Ok);
    EXPECT_EQ(got.count, kHidReportSize);
    EXPECT_EQ(buffer[0], 0x00);
    data = test::concat(data, dataOf(buffer));
  }
  // ReplyData, USB, nonce 0x21, ID 0, working state, input block, channel 2,
  // row 0, reserved, length 120; then the block; checksum; end; zero fill.
  const Bytes header = {0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x02, 0x21, 0x00, 0x00, 0x01, 0x02, 0x00, 0x00, 0x78};
  EXPECT_EQ(Bytes(data.begin(), data.begin() + 14), header);
  EXPECT_EQ(Bytes(data.begin() + 14, data.begin() + 134), Bytes(120, 0x3C));
  EXPECT_EQ(data[134], 0x53 ^ 0x02 ^ 0x21 ^ 0x01 ^ 0x02 ^ 0x78);  // 0x3C repeated 120 times XORs to 0
  EXPECT_EQ(data[135], 0xAA);
  EXPECT_EQ(Bytes(data.begin() + 136, data.end()), Bytes(56, 0x00));

  HidReport buffer{};
  EXPECT_EQ(readInto(buffer).status, HidStatus::TimedOut);
}

TEST_F(MemoryHidBackendTest, RequestIsAnsweredOnlyOnceItsLastReportArrived) {
  openDevice();
  // CmdWrite of input channel 0 whole: 136 bytes in three reports.
  const Bytes frame =
      test::frame({0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x78},
                  Bytes(120, 0x01), 0xA1 ^ 0x02 ^ 0x01 ^ 0x78);
  HidReport buffer{};
  ASSERT_EQ(backend.write(report(Bytes(frame.begin(), frame.begin() + 64))), HidStatus::Ok);
  ASSERT_EQ(backend.write(report(Bytes(frame.begin() + 64, frame.begin() + 128))), HidStatus::Ok);
  EXPECT_EQ(readInto(buffer).status, HidStatus::TimedOut);
  ASSERT_EQ(backend.write(report(Bytes(frame.begin() + 128, frame.end()))), HidStatus::Ok);

  ASSERT_EQ(readInto(buffer).status, HidStatus::Ok);
  EXPECT_EQ(buffer[5], 0x53);   // ReplyData
  EXPECT_EQ(buffer[14], 0x00);  // an empty acknowledgement
  EXPECT_EQ(state.read([](const DeviceData& d) { return d.working.inputs[0][119]; }), 0x01);
  EXPECT_EQ(backend.reportsWritten(), 3);
}

TEST_F(MemoryHidBackendTest, AFreshHandleStartsWithNothingToRead) {
  openDevice();
  // CmdRead of the level item.
  ASSERT_EQ(backend.write(report({0x5A, 0x5A, 0x5A, 0x88, 0xA2, 0x02, 0x00, 0x00, 0x00, 0x03, 0x03, 0x00,
                                  0x00, 0x00, 0xA2 ^ 0x02 ^ 0x03 ^ 0x03, 0xAA})),
            HidStatus::Ok);
  openDevice();
  HidReport buffer{};
  EXPECT_EQ(readInto(buffer).status, HidStatus::TimedOut);
}

TEST_F(MemoryHidBackendTest, AbsentOrUnpluggedDevice) {
  backend.setPresent(false);
  EXPECT_TRUE(backend.enumerate().empty());
  EXPECT_FALSE(backend.open(MemoryHidBackend::kDefaultPath));

  backend.setPresent(true);
  ASSERT_EQ(backend.enumerate().size(), 1u);
  EXPECT_EQ(backend.enumerate()[0].identity, UsbPort::kDeviceIdentity);
  openDevice();
  backend.unplug();
  HidReport buffer{};
  EXPECT_EQ(backend.write(buffer), HidStatus::Gone);
  EXPECT_EQ(readInto(buffer).status, HidStatus::Gone);
  EXPECT_TRUE(backend.enumerate().empty());
  EXPECT_FALSE(backend.isOpen());
}

}  // namespace
}  // namespace orvane
