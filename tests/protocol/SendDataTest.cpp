#include <gtest/gtest.h>

#include <algorithm>

#include "FrameBytes.h"
#include "protocol/SendData.h"

namespace orvane {
namespace {

using test::Bytes;

Bytes wire(const SendData& frame) {
  return Bytes(frame.wire().begin(), frame.wire().end());
}

void setHeader(SendData& frame, std::initializer_list<std::uint8_t> bytes4to13) {
  std::size_t at = FrameOffset::Cmd;
  for (std::uint8_t b : bytes4to13) frame.set(at++, b);
}

TEST(SendDataTest, NewFrameHoldsOnlyTheHeaderAndTheEndCopy) {
  const SendData frame;
  EXPECT_EQ(frame.at(0), 0x5A);
  EXPECT_EQ(frame.at(1), 0x5A);
  EXPECT_EQ(frame.at(2), 0x5A);
  EXPECT_EQ(frame.at(3), 0x88);
  EXPECT_TRUE(std::all_of(frame.bytes.begin() + 4, frame.bytes.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_EQ(frame.endByte, 0xAA);
  EXPECT_FALSE(frame.ready);
  EXPECT_EQ(frame.replyKind, ReplyKind::None);
}

// The level poll on USB: the checksum of the fixed bytes is 0xA8, and the
// nonce is part of what the checksum covers.
class LevelPollTest : public ::testing::TestWithParam<std::pair<std::uint8_t, std::uint8_t>> {};

TEST_P(LevelPollTest, IsTwentyFourBytesWithTheNonceInTheChecksum) {
  const auto [nonce, checksum] = GetParam();
  SendData frame;
  setHeader(frame, {0xA2, 0x02, 0x00, 0x00, 0x00, 0x03, 0x03, 0x00, 0x00, 0x08});
  frame.finalise(nonce);

  const Bytes expected = {
      0x5A,     0x5A, 0x5A,                                // sync
      0x88,                                                // start
      0xA2,                                                // cmd: read
      0x02,                                                // link: USB
      nonce,                                               // nonce
      0x00,                                                // device ID: none on USB
      0x00,                                                // value: working state
      0x03,                                                // block: system item
      0x03,                                                // item 3: levels
      0x00,                                                // row
      0x00,                                                // reserved
      0x08,                                                // length 8
      0x00,     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // payload: zeros
      checksum,                                            // checksum: 0xA8 XOR nonce
      0xAA,                                                // end
  };
  EXPECT_EQ(wire(frame), expected);
  EXPECT_EQ(frame.checksum, checksum);
  EXPECT_EQ(frame.endByte, 0xAA);
  EXPECT_TRUE(frame.ready);
}

INSTANTIATE_TEST_SUITE_P(Nonces, LevelPollTest,
                         ::testing::Values(std::pair<std::uint8_t, std::uint8_t>{0x00, 0xA8},
                                           std::pair<std::uint8_t, std::uint8_t>{0x35, 0x9D},
                                           std::pair<std::uint8_t, std::uint8_t>{0x64, 0xCC}));

TEST(SendDataTest, EmptyPayloadFrameIsSixteenBytes) {
  // Writing an empty network name.
  SendData frame;
  setHeader(frame, {0xA1, 0x03, 0x00, 0x00, 0x00, 0x03, 0x33, 0x00, 0x00, 0x00});
  frame.finalise(0x0B);

  const Bytes expected = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0xA1,                    // cmd: write
      0x03,                    // link: network
      0x0B,                    // nonce
      0x00,                    // device ID
      0x00,                    // value
      0x03,                    // block: system item
      0x33,                    // item 51: network name
      0x00, 0x00,              // row, reserved
      0x00,                    // length 0
      0x99,                    // checksum: A1^03^0B^03^33
      0xAA,                    // end
  };
  EXPECT_EQ(wire(frame), expected);
  EXPECT_EQ(frame.wireSize(), 16u);
}

TEST(SendDataTest, PayloadAndDeviceIdAreChecksummed) {
  // Row 4 of input channel 5 to RS-485 device 7.
  SendData frame;
  setHeader(frame, {0xA1, 0x01, 0x00, 0x07, 0x00, 0x01, 0x05, 0x04, 0x00, 0x08});
  for (std::size_t i = 0; i < 8; ++i)
    frame.set(FrameOffset::Payload + i, static_cast<std::uint8_t>(0x10 * (i + 1)));
  frame.finalise(0x3E);

  const Bytes expected = {
      0x5A, 0x5A, 0x5A, 0x88,                          // sync, start
      0xA1,                                            // cmd: write
      0x01,                                            // link: serial
      0x3E,                                            // nonce
      0x07,                                            // device ID 7
      0x00,                                            // value
      0x01,                                            // block: input channel
      0x05,                                            // item: channel 5
      0x04,                                            // row 4
      0x00,                                            // reserved
      0x08,                                            // length 8
      0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80,  // payload
      0x11,                                            // checksum
      0xAA,                                            // end
  };
  EXPECT_EQ(wire(frame), expected);
}

TEST(SendDataTest, LongestFrameFitsWithItsTrailer) {
  SendData frame;
  setHeader(frame, {0xA1, 0x03, 0x00, 0x00, 0x00, 0x03, 0x33, 0x00, 0x00, 0xFF});
  for (std::size_t i = 0; i < 255; ++i) frame.set(FrameOffset::Payload + i, 'N');
  frame.finalise(0x05);

  ASSERT_EQ(frame.wireSize(), 271u);
  // Header A1^03^05^03^33^FF = 0x68; 255 times 'N' leaves one 0x4E.
  EXPECT_EQ(frame.at(269), 0x26);  // checksum
  EXPECT_EQ(frame.at(270), 0xAA);  // end
  EXPECT_EQ(frame.checksum, 0x26);
}

}  // namespace
}  // namespace orvane
