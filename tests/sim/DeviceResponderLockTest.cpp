// Program and lock-data operations: lock packets of the working state, the
// device-lock set and the stored programs, and the recall they bring.

#include <tuple>

#include "ResponderFixture.h"

namespace orvane {
namespace {

using SimLockTest = ResponderTest;

// A CmdProgram on USB with nonce 0 and ID 0; checksum by hand:
// A9 ^ 02 ^ value ^ operation ^ 0C ^ payload.
Bytes programOp(std::uint8_t value, std::uint8_t op, const Bytes& payload, std::uint8_t checksum) {
  return frame(0xA9, 2, 0, 0, value, op, 0, 0, payload, checksum);
}

Bytes bytesOf(std::span<const std::uint8_t> bytes) {
  return Bytes(bytes.begin(), bytes.end());
}

TEST_F(SimLockTest, WorkingLocksOfAFreshDeviceAreFreeWithoutPassword) {
  // sync, start | ReplyData, USB, nonce, ID 0 | working state, read lock packet, item 0, row 0 | reserved,
  // length 12
  const Bytes reply = {0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x02, 0x2A, 0x00, 0x00, 0xA1,
                       0x00, 0x00, 0x00, 0x0C, 0,    0,    0,    0,    0,    0,  // flags 0..47 free
                       0x20, 0x20, 0x20, 0x20, 0x20, 0x20,                       // no password
                       0xD6, 0xAA};                                              // checksum, end
  EXPECT_EQ(respond(programOp(0, 0xA1, Bytes(12, 0), 0x06)), reply);
}

TEST_F(SimLockTest, ReadingAProgramsLocksRecallsTheProgram) {
  state.modify([&](DeviceData& d) {
    d.working.inputs[1].fill(0x99);
    ProgramRecord& two = d.program(2);
    std::ranges::fill(recordBlock(two, Side::Input, 0), std::uint8_t{0x5C});
    std::ranges::fill(recordBlock(two, Side::Output, 7), std::uint8_t{0x5D});
    std::ranges::copy(Bytes({'H', 'a', 'l', 'l'}), recordName(two).begin());
    std::ranges::copy(Bytes({0x0F, 0x01, 0x00, 0x80, 0xFF, 0xFF, 'a', 'b', 'c', '1', '2', '3'}),
                      recordLockPacket(two).begin());
  });
  // sync, start | ReplyData, USB, nonce, ID 0 | program 2, read lock packet, item 0, row 0 | reserved, length
  // 12
  const Bytes reply = {0x5A, 0x5A, 0x5A, 0x88, 0x53, 0x02, 0x2A, 0x00, 0x02, 0xA1,
                       0x00, 0x00, 0x00, 0x0C, 0x0F, 0x01, 0x00, 0x80, 0xFF, 0xFF,  // program 2's flags
                       0x61, 0x62, 0x63, 0x31, 0x32, 0x33,                          // "abc123"
                       0x0A, 0xAA};                                                 // checksum, end
  EXPECT_EQ(respond(programOp(2, 0xA1, Bytes(12, 0), 0x04)), reply);

  state.read([](const DeviceData& d) {
    EXPECT_EQ(bytesOf(d.working.inputs[0]), Bytes(120, 0x5C));
    EXPECT_EQ(bytesOf(d.working.outputs[7]), Bytes(112, 0x5D));
    EXPECT_EQ(d.working.inputs[1][0], 'B') << "program 2's factory input 1 came with it";
    EXPECT_EQ(bytesOf(d.currentProgramName).at(3), 'l');
    // Only the function locks come with a program; system locks and password stay the device's.
    EXPECT_EQ(bytesOf(d.workingLocks), Bytes({0x0F, 0x01, 0x00, 0x80, 0, 0, ' ', ' ', ' ', ' ', ' ', ' '}));
  });
}

TEST_F(SimLockTest, PacketsAreWrittenToTheirOwners) {
  const Bytes deviceSet = {0xF0, 0, 0, 0, 0, 0, ' ', ' ', ' ', ' ', ' ', ' '};
  const Bytes working = {0, 0, 0, 0, 0x01, 0x00, 'p', 'w', '1', '2', '3', '4'};
  const Bytes programFive = {1, 2, 3, 4, 5, 6, 's', 'e', 'c', 'r', 'e', 't'};
  ASSERT_TRUE(respond(programOp(31, 0xA2, deviceSet, 0xEA)));
  ASSERT_TRUE(respond(programOp(0, 0xA2, working, 0x07)));
  ASSERT_TRUE(respond(programOp(5, 0xB2, programFive, 0x01)));
  EXPECT_EQ(state.read([](const DeviceData& d) { return bytesOf(d.deviceLockSet); }), deviceSet);
  EXPECT_EQ(state.read([](const DeviceData& d) { return bytesOf(d.workingLocks); }), working);
  EXPECT_EQ(payloadOf(respond(programOp(31, 0xA1, Bytes(12, 0), 0x19))), deviceSet);
  // ReplyData, USB, nonce, ID 0, program 5, read stored lock packet, item 0, row 0, the packet
  EXPECT_EQ(respond(programOp(5, 0xB1, Bytes(12, 0), 0x13)),
            frame(0x53, 2, kNonce, 0, 5, 0xB1, 0, 0, programFive, 0xD2));
}

TEST_F(SimLockTest, ProgramNumbersOutsideTheStoreAreAcknowledgedWithoutEffect) {
  const auto locks = [this] {
    return state.read(
        [](const DeviceData& d) { return std::make_tuple(d.programs, d.workingLocks, d.deviceLockSet); });
  };
  const auto before = locks();
  // write lock packet of program 40 → ReplyData, program 40, operation A2, empty
  EXPECT_EQ(respond(programOp(40, 0xA2, Bytes(12, 0xFF), 0x2D)),
            frame(0x53, 2, kNonce, 0, 40, 0xA2, 0, 0, {}, 0xF1));
  EXPECT_EQ(payloadLength(respond(programOp(0, 0xB1, Bytes(12, 0), 0x16))), 0u)
      << "program 0 has no stored packet";
  EXPECT_EQ(payloadLength(respond(programOp(32, 0xA1, Bytes(12, 0), 0x26))), 0u)
      << "nor has program 32 locks";
  EXPECT_TRUE(locks() == before);
}

}  // namespace
}  // namespace orvane
