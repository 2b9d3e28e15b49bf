// Replies to read requests: channel blocks and system items.

#include "ResponderFixture.h"

namespace orvane {
namespace {

using SimReadTest = ResponderTest;

TEST_F(SimReadTest, ConnectionCheckIsAnsweredWithZero) {
  // sync, start | CmdRead, USB, nonce 7, ID 0 | value 0, system item, item 204, row 0 | reserved, length 8
  const Bytes request = {
      0x5A, 0x5A, 0x5A, 0x88, 0xA2, 0x02, 0x07, 0x00, 0x00, 0x03, 0xCC, 0x00,
      0x00, 0x08, 0,    0,    0,    0,    0,    0,    0,    0,    0x60, 0xAA};  // payload | checksum, end
  // sync, start | ReplyData, USB, nonce, ID 0 | value 0, system item, item 204, row 0 | reserved, length 1
  const Bytes reply = {0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x02, 0x2A, 0x00, 0x00,
                       0x03, 0xCC, 0x00, 0x00, 0x01, 0x00, 0xB5, 0xAA};  // device present | checksum, end
  EXPECT_EQ(respond(request), reply);
}

TEST_F(SimReadTest, ChannelBlockComesFromWorkingStateOrProgram) {
  state.modify([](DeviceData& d) {
    d.working.inputs[2].fill(0x11);
    std::ranges::fill(recordBlock(d.program(5), Side::Output, 7), std::uint8_t{0x22});
  });
  // CmdRead, USB, nonce 9, ID 0, working state, input block, channel 2, row 0
  const Bytes workingInput = frame(0xA2, 2, 9, 0, 0, 1, 2, 0, Bytes(8, 0), 0xA2);
  // ReplyData with the same addressing and the 120-byte block (whose bytes cancel out in the checksum)
  EXPECT_EQ(respond(workingInput), frame(0x53, 2, kNonce, 0, 0, 1, 2, 0, Bytes(120, 0x11), 0x00));

  // CmdRead, network, nonce 0x33, ID 0, program 5, output block, channel 7, row 119, and the network's extra
  // zero
  Bytes storedOutput = frame(0xA2, 3, 0x33, 0, 5, 2, 7, 119, Bytes(8, 0), 0xED);
  storedOutput.push_back(0x00);
  EXPECT_EQ(respond(storedOutput), frame(0x53, 3, kNonce, 0, 5, 2, 7, 119, Bytes(112, 0x22), 0x7D));
}

TEST_F(SimReadTest, NetworkNameOrItsAbsence) {
  state.modify([](DeviceData& d) { d.networkName.clear(); });  // a module without a name
  // CmdRead, network, nonce 5, ID 0, value 0, system item, item 51, row 0
  const Bytes request = frame(0xA2, 3, 5, 0, 0, 3, 51, 0, Bytes(8, 0), 0x9C);
  // sync, start | ReplyR, network, nonce, ID 0 | value 0, system item, item 51, row 0 | reserved, length 0
  const Bytes noName = {0x5A, 0x5A, 0x5A, 0x88, 0x52, 0x03, 0x2A, 0x00,
                        0x00, 0x03, 0x33, 0x00, 0x00, 0x00, 0x4B, 0xAA};  // checksum, end
  EXPECT_EQ(respond(request), noName);

  state.modify([](DeviceData& d) { d.networkName = {'A', 'B'}; });
  EXPECT_EQ(respond(request), frame(0x53, 3, kNonce, 0, 0, 3, 51, 0, {'A', 'B'}, 0x4B));
}

TEST_F(SimReadTest, SystemItemPayloads) {
  state.modify([](DeviceData& d) {
    d.levels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    d.startupProgram = 12;
    d.currentProgramName = {'L', 'i', 'v', 'e'};
    recordName(d.program(30))[0] = 'Z';
  });
  // CmdRead on USB, nonce 0, ID 0; checksum A2 ^ 02 ^ value ^ 03 ^ item ^ 08
  const auto read = [&](std::uint8_t value, std::uint8_t item, std::uint8_t checksum) {
    return respond(frame(0xA2, 2, 0, 0, value, 3, item, 0, Bytes(8, 0), checksum));
  };
  EXPECT_EQ(payloadOf(read(0, 4, 0xAF)), Bytes({'J', '-', 'D', 'V', '1', '.', '2', '0'}));
  EXPECT_EQ(payloadOf(read(0, 3, 0xA8)), Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
  EXPECT_EQ(payloadOf(read(0, 21, 0xBE)), Bytes{1});   // device ID
  EXPECT_EQ(payloadOf(read(0, 24, 0xB3)), Bytes{12});  // start-up program
  EXPECT_EQ(payloadOf(read(0, 0, 0xAB)), Bytes({'L', 'i', 'v', 'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(payloadOf(read(30, 0, 0xB5)), Bytes({'Z', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(payloadLength(read(0, 52, 0x9F)), 54u);
  EXPECT_EQ(payloadLength(read(0, 53, 0x9E)), 23u);
  EXPECT_EQ(payloadOf(read(0, 7, 0xAC)), Bytes(8, 0));  // an item the device does not know
}

}  // namespace
}  // namespace orvane
