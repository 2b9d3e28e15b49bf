// Which frames the device answers at all, addressing on the RS-485 bus, and
// the faults it can be told to make.

#include <set>

#include "ResponderFixture.h"

namespace orvane {
namespace {

using SimLinkTest = ResponderTest;

// CmdRead, USB, nonce 7, ID 0, value 0, system item, item 204 (connection check), row 0
const Bytes kConnectionCheck = frame(0xA2, 2, 7, 0, 0, 3, 204, 0, Bytes(8, 0), 0x60);
// ReplyData with the same addressing, payload 0: device present
const Bytes kDevicePresent = frame(0x53, 2, kNonce, 0, 0, 3, 204, 0, {0}, 0xB5);

Bytes with(Bytes frame, std::size_t index, std::uint8_t value) {
  frame[index] = value;
  return frame;
}

TEST_F(SimLinkTest, BrokenRequestsAreNotAnswered) {
  EXPECT_FALSE(respond(with(kConnectionCheck, 22, 0x61))) << "checksum";
  EXPECT_FALSE(respond(with(kConnectionCheck, 23, 0x55))) << "end byte";
  EXPECT_FALSE(respond(with(kConnectionCheck, 0, 0x00))) << "sync";
  EXPECT_FALSE(respond(with(kConnectionCheck, 3, 0x89))) << "start byte";
  EXPECT_FALSE(respond(with(kConnectionCheck, 13, 0x09))) << "payload longer than the bytes received";
  EXPECT_FALSE(respond(Bytes(kConnectionCheck.begin(), kConnectionCheck.end() - 1))) << "cut short";
  EXPECT_FALSE(respond({})) << "nothing";
  // ReplyData, USB, nonce 0, ID 0, system item 204, payload 0: another device's reply is no request
  EXPECT_FALSE(respond(frame(0x53, 2, 0, 0, 0, 3, 204, 0, {0}, 0x9F)));
  EXPECT_EQ(respond(kConnectionCheck), kDevicePresent);
}

TEST_F(SimLinkTest, SerialFramesAreAnsweredOnlyByTheAddressedDevice) {
  // CmdRead, serial, nonce 0, ID 2 / ID 1, connection check
  EXPECT_FALSE(respond(frame(0xA2, 1, 0, 2, 0, 3, 204, 0, Bytes(8, 0), 0x66)));
  EXPECT_EQ(respond(frame(0xA2, 1, 0, 1, 0, 3, 204, 0, Bytes(8, 0), 0x65)),
            frame(0x53, 1, kNonce, 1, 0, 3, 204, 0, {0}, 0xB7));
}

TEST_F(SimLinkTest, CorruptsAndDropsEveryNthReply) {
  device.setFaults({.corruptEvery = 2});
  const Bytes corrupted = with(kDevicePresent, 15, 0x4A);  // checksum B5 with every bit flipped
  EXPECT_EQ(respond(kConnectionCheck), kDevicePresent);
  EXPECT_EQ(respond(kConnectionCheck), corrupted);
  EXPECT_EQ(respond(kConnectionCheck), kDevicePresent);
  EXPECT_EQ(respond(kConnectionCheck), corrupted);

  device.setFaults({.dropEvery = 3});
  EXPECT_TRUE(respond(kConnectionCheck));
  EXPECT_FALSE(respond(with(kConnectionCheck, 22, 0x00))) << "a bad request: no reply, not counted";
  EXPECT_TRUE(respond(kConnectionCheck));
  EXPECT_FALSE(respond(kConnectionCheck));
  EXPECT_TRUE(respond(kConnectionCheck));

  // Counted over both plans; the bad request made no reply.
  const DeviceResponder::Counts counts = device.counts();
  EXPECT_EQ(counts.replies, 8);
  EXPECT_EQ(counts.corrupted, 2);
  EXPECT_EQ(counts.dropped, 1);
}

TEST_F(SimLinkTest, FailsTheConnectionCheckOrReportsAnotherFirmware) {
  device.setFaults({.failConnectionCheck = true});
  EXPECT_EQ(respond(kConnectionCheck), frame(0x53, 2, kNonce, 0, 0, 3, 204, 0, {1}, 0xB4));

  state.setFirmwareVersion("S-DV2.05");
  // CmdRead, USB, nonce 7, ID 0, system item 4 → ReplyData "S-DV2.05"
  EXPECT_EQ(respond(frame(0xA2, 2, 7, 0, 0, 3, 4, 0, Bytes(8, 0), 0xA8)),
            frame(0x53, 2, kNonce, 0, 0, 3, 4, 0, {'S', '-', 'D', 'V', '2', '.', '0', '5'}, 0x01));
}

TEST(SimNonceTest, RepliesCarryFreshNoncesAndSoundChecksums) {
  DeviceState state;
  DeviceResponder device(state);
  std::set<std::uint8_t> nonces;
  for (int n = 0; n < 50; ++n) {
    const auto reply = device.respond(kConnectionCheck);
    ASSERT_TRUE(reply);
    nonces.insert((*reply)[6]);
    std::uint8_t x = 0;
    for (std::size_t i = 4; i < 15; ++i) x ^= (*reply)[i];
    EXPECT_EQ((*reply)[15], x);
  }
  EXPECT_LE(*nonces.rbegin(), 100);
  EXPECT_GT(nonces.size(), 1u);
}

}  // namespace
}  // namespace orvane
