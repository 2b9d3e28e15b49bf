// Writes: what lands where in the device, what never lands anywhere, and
// how each kind of write is acknowledged.

#include "ResponderFixture.h"

namespace orvane {
namespace {

using SimWriteTest = ResponderTest;

// A CmdWrite on USB with nonce 0 and ID 0; the checksum is worked out by
// hand for each call: A1 ^ 02 ^ value ^ block ^ item ^ row ^ length ^ payload.
Bytes usbWrite(std::uint8_t value, std::uint8_t block, std::uint8_t item, std::uint8_t row,
               const Bytes& payload, std::uint8_t checksum) {
  return frame(0xA1, 2, 0, 0, value, block, item, row, payload, checksum);
}

TEST_F(SimWriteTest, RowWriteLandsAtItsRowAndIsAcknowledgedEmpty) {
  InputBlock expected = state.read([](const DeviceData& d) { return d.working.inputs[3]; });
  // CmdWrite, USB, nonce 11, ID 0, working state, input block, channel 3, row 1,
  // payload: mute, polarity, delay 10, gain 300, master 100
  const Bytes request =
      frame(0xA1, 2, 11, 0, 0, 1, 3, 1, {0x01, 0x00, 0x0A, 0x00, 0x2C, 0x01, 0x64, 0x00}, 0xE1);
  // sync, start | ReplyData, USB, nonce, ID 0 | working state, input block, channel 3, row 1 | reserved,
  // length 0
  const Bytes ack = {0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x02, 0x2A, 0x00,
                     0x00, 0x01, 0x03, 0x01, 0x00, 0x00, 0x78, 0xAA};  // checksum, end
  EXPECT_EQ(respond(request), ack);

  std::ranges::copy(Bytes({0x01, 0x00, 0x0A, 0x00, 0x2C, 0x01, 0x64, 0x00}), expected.begin() + 8);
  EXPECT_EQ(state.read([](const DeviceData& d) { return d.working.inputs[3]; }), expected);
}

TEST_F(SimWriteTest, WholeBlocksGoToWorkingStateOrPrograms) {
  ASSERT_TRUE(respond(usbWrite(0, 2, 1, 0, Bytes(112, 0x33), 0xD0)));          // output 1, whole block
  ASSERT_TRUE(respond(usbWrite(4, 1, 0, 119, Bytes(120, 0x44), 0xA9)));        // program 4, input 0
  ASSERT_TRUE(respond(usbWrite(6, 2, 3, 2, {1, 2, 3, 4, 5, 6, 7, 8}, 0xA6)));  // program 6, output 3, row 2
  state.modify([](DeviceData& d) {
    EXPECT_EQ(Bytes(d.working.outputs[1].begin(), d.working.outputs[1].end()), Bytes(112, 0x33));
    const auto input0 = recordBlock(d.program(4), Side::Input, 0);
    EXPECT_EQ(Bytes(input0.begin(), input0.end()), Bytes(120, 0x44));
    const auto row2 = recordBlock(d.program(6), Side::Output, 3).subspan(16, 8);
    EXPECT_EQ(Bytes(row2.begin(), row2.end()), Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(d.working.inputs[0][0], 'A');  // the working state kept its own input 0
  });
}

TEST_F(SimWriteTest, WritesThatFitNoBlockChangeNothingButAreAcknowledged) {
  const auto blocks = [this] {
    return state.read([](const DeviceData& d) { return std::make_pair(d.working, d.programs); });
  };
  const auto before = blocks();
  for (const Bytes& request : {
           usbWrite(0, 1, 9, 0, Bytes(8, 0x77), 0xA3),      // channel 9 does not exist
           usbWrite(0, 2, 0, 14, Bytes(8, 0x77), 0xA7),     // row 14 lies past an output block
           usbWrite(0, 1, 0, 0, Bytes(255, 0x77), 0x2A),    // 255 bytes into a 120-byte block
           usbWrite(0, 1, 0, 1, Bytes(120, 0x77), 0xDB),    // a whole block starting at row 1
           usbWrite(0, 1, 0, 119, Bytes(120, 0x77), 0xAD),  // program-store transfer without a program
           usbWrite(31, 1, 0, 0, Bytes(8, 0x77), 0xB5),     // program 31 holds no blocks
       })
    EXPECT_EQ(payloadLength(respond(request)), 0u);
  EXPECT_TRUE(blocks() == before);
}

TEST_F(SimWriteTest, NetworkNameWriteAndResetAreAnsweredWithReplyQ) {
  // CmdWrite, network, nonce 12, ID 0, value 0, system item, item 51, row 0, "Hall"
  EXPECT_EQ(respond(frame(0xA1, 3, 12, 0, 0, 3, 51, 0, {'H', 'a', 'l', 'l'}, 0xB3)),
            // sync, start | ReplyQ, network, nonce, ID 0 | value 0, system item, item 51, row 0 | reserved,
            // length 0
            Bytes({0x5A, 0x5A, 0x5A, 0x88, 0x51, 0x03, 0x2A, 0x00, 0x00, 0x03, 0x33, 0x00, 0x00, 0x00, 0x48,
                   0xAA}));  // checksum, end
  EXPECT_EQ(state.read([](const DeviceData& d) { return d.networkName; }), Bytes({'H', 'a', 'l', 'l'}));

  // CmdWrite, network, nonce 13, ID 0, value 0, system item, item 49 (network factory reset), row 0
  EXPECT_EQ(respond(frame(0xA1, 3, 13, 0, 0, 3, 49, 0, Bytes(8, 0), 0x95)),
            frame(0x51, 3, kNonce, 0, 0, 3, 49, 0, {}, 0x4A));
  EXPECT_EQ(state.read([](const DeviceData& d) { return d.networkName; }),
            Bytes({'K', 'V', 'S', '7', '3', '0', '4'}));
}

TEST_F(SimWriteTest, NewDeviceIdAnswersAtOldAddressThenMoves) {
  // CmdWrite, serial, nonce 14, ID 1, value 0, system item, item 21, row 0, new ID 7
  const Bytes changeId = frame(0xA1, 1, 14, 1, 0, 3, 21, 0, {7, 0, 0, 0, 0, 0, 0, 0}, 0xB6);
  EXPECT_EQ(respond(changeId), frame(0x53, 1, kNonce, 1, 0, 3, 21, 0, {}, 0x6F));  // still from ID 1
  EXPECT_EQ(state.deviceId(), 7);
  EXPECT_FALSE(respond(changeId)) << "ID 1 is no longer this device";
  // connection check at ID 7: CmdRead, serial, nonce 15, ID 7, system item 204
  EXPECT_EQ(respond(frame(0xA2, 1, 15, 7, 0, 3, 204, 0, Bytes(8, 0), 0x6C)),
            frame(0x53, 1, kNonce, 7, 0, 3, 204, 0, {0}, 0xB1));

  // The bus addresses 1..250 only: IDs 0 and 251 are refused.
  state.setDeviceId(1);
  EXPECT_TRUE(respond(frame(0xA1, 1, 0, 1, 0, 3, 21, 0, Bytes(8, 0), 0xBF)));
  EXPECT_TRUE(respond(frame(0xA1, 1, 0, 1, 0, 3, 21, 0, {251, 0, 0, 0, 0, 0, 0, 0}, 0x44)));
  EXPECT_EQ(state.deviceId(), 1);
}

TEST_F(SimWriteTest, SystemItemsAreStoredWhole) {
  const Bytes hall = {'H', 'a', 'l', 'l', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes pelcoUp = {0xFF, 0x01, 0x00, 0x08, 0x00, 0x20, 0x29};
  ASSERT_TRUE(respond(usbWrite(3, 3, 0, 0, hall, 0x9A)));                        // program 3's name
  ASSERT_TRUE(respond(usbWrite(0, 3, 24, 0, {5, 0, 0, 0, 0, 0, 0, 0}, 0xB5)));   // start-up program 5
  ASSERT_TRUE(respond(usbWrite(0, 3, 24, 0, {31, 0, 0, 0, 0, 0, 0, 0}, 0xAF)));  // start-up 31: none such
  ASSERT_TRUE(respond(usbWrite(0, 3, 52, 0, Bytes(53, 0x55), 0xF4)));  // set-up block one byte short
  ASSERT_TRUE(respond(usbWrite(0, 3, 54, 0, pelcoUp, 0x6E)));          // camera: tilt up
  state.modify([&](DeviceData& d) {
    EXPECT_EQ(Bytes(recordName(d.program(3)).begin(), recordName(d.program(3)).end()), hall);
    EXPECT_EQ(d.startupProgram, 5);
    EXPECT_EQ(d.setup[0], 1) << "the short set-up block was not taken";
    EXPECT_EQ(d.lastCameraMessage, pelcoUp);
  });
  ASSERT_TRUE(respond(usbWrite(0, 3, 52, 0, Bytes(54, 0x55), 0xA2)));
  EXPECT_EQ(state.read([](const DeviceData& d) { return Bytes(d.setup.begin(), d.setup.end()); }),
            Bytes(54, 0x55));
}

}  // namespace
}  // namespace orvane
