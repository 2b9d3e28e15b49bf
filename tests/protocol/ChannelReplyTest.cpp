#include <gtest/gtest.h>

#include "LinkFixture.h"

namespace orvane::test {
namespace {

class ChannelReplyTest : public LinkFixture {
 protected:
  void SetUp() override { putInFlight(); }

  Bytes deviceBlock(Side side, int channel) {
    return read([&](const ImageData& d) {
      const auto block = d.device.block(side, channel);
      return Bytes(block.begin(), block.end());
    });
  }
  Bytes editedBlock(Side side, int channel) {
    return read([&](const ImageData& d) {
      const auto block = d.edited.block(side, channel);
      return Bytes(block.begin(), block.end());
    });
  }
  Bytes programBlock(int program, Side side, int channel) {
    return read([&](const ImageData& d) {
      ProgramRecord record = d.programs[static_cast<std::size_t>(program - 1)];
      const auto block = recordBlock(record, side, channel);
      return Bytes(block.begin(), block.end());
    });
  }
  BlockSet device() {
    return read([](const ImageData& d) { return d.device; });
  }
  ProgramStore programs() {
    return read([](const ImageData& d) { return d.programs; });
  }
};

// --- into the device copy ------------------------------------------------------

TEST_F(ChannelReplyTest, RowDataLandsAtTheStartOfTheBlockWhateverTheRow) {
  const Bytes row4 = {
      0x5A, 0x5A, 0x5A, 0x88,                          // sync, start
      0x53, 0x03, 0x43,                                // data reply, network, nonce
      0x00, 0x00,                                      // device ID, value
      0x01,                                            // block: input channel
      0x05,                                            // channel 5
      0x04,                                            // row 4
      0x00,                                            // reserved
      0x08,                                            // length 8
      0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,  // payload
      0x1B,                                            // checksum
      0xAA,                                            // end
  };
  const Bytes edited = editedBlock(Side::Input, 5);
  EXPECT_EQ(reply(row4), Outcome::Accepted);

  Bytes expected(120, 0x00);
  std::copy(row4.begin() + 14, row4.begin() + 22, expected.begin());
  EXPECT_EQ(deviceBlock(Side::Input, 5), expected);
  EXPECT_EQ(editedBlock(Side::Input, 5), edited);
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(ChannelReplyTest, WholeOutputBlockFillsTheDeviceCopy) {
  const Bytes block = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x44,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x02,                    // block: output channel
          0x00,                    // channel 0
          0x00, 0x00,              // row, reserved
          0x70,                    // length 112
      },
      counting(112),  // 00 01 … 6F, XOR 0
      0x66);
  EXPECT_EQ(reply(block), Outcome::Accepted);
  EXPECT_EQ(deviceBlock(Side::Output, 0), counting(112));
  EXPECT_EQ(deviceBlock(Side::Output, 1), Bytes(112, 0x00));
}

// --- end of a recall read --------------------------------------------------------

// The last block of a recall read: output channel 7.
const Bytes kLastOutputBlock = frame(
    {
        0x5A, 0x5A, 0x5A, 0x88,  // sync, start
        0x53, 0x03, 0x47,        // data reply, network, nonce
        0x00, 0x00,              // device ID, value
        0x02,                    // block: output channel
        0x07,                    // channel 7
        0x00, 0x00,              // row, reserved
        0x70,                    // length 112
    },
    counting(112),  // 00 01 … 6F, XOR 0
    0x62);

TEST_F(ChannelReplyTest, LastOutputBlockOfATransferRestoresTheEditedImage) {
  events[WorkerEvent::QueueNotEmpty].set();
  events[WorkerEvent::Run].set();
  putInFlight({.lastOfTransfer = true});
  EXPECT_EQ(reply(kLastOutputBlock), Outcome::Accepted);

  EXPECT_EQ(deviceBlock(Side::Output, 7), counting(112));
  EXPECT_EQ(editedBlock(Side::Output, 7), counting(112));
  EXPECT_EQ(editedBlock(Side::Output, 0), deviceBlock(Side::Output, 0));

  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, Message::ChannelDataRead);
  EXPECT_EQ(messages[0].wParam, 3);
  EXPECT_EQ(messages[0].lParam, 0);
  EXPECT_FALSE(events[WorkerEvent::QueueNotEmpty].isSet());
  EXPECT_TRUE(events[WorkerEvent::Run].isSet());
}

TEST_F(ChannelReplyTest, OutputBlockNotLastOfATransferLeavesTheEditedImage) {
  events[WorkerEvent::QueueNotEmpty].set();
  const Bytes edited = editedBlock(Side::Output, 7);
  EXPECT_EQ(reply(kLastOutputBlock), Outcome::Accepted);
  EXPECT_EQ(deviceBlock(Side::Output, 7), counting(112));
  EXPECT_EQ(editedBlock(Side::Output, 7), edited);
  EXPECT_TRUE(notifier.messages().empty());
  EXPECT_TRUE(events[WorkerEvent::QueueNotEmpty].isSet());
}

TEST_F(ChannelReplyTest, InputBlockLastOfATransferOnlyStores) {
  const Bytes input7 = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x48,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x01,                    // block: input channel
          0x07,                    // channel 7
          0x00, 0x00,              // row, reserved
          0x78,                    // length 120
      },
      counting(120),  // XOR 0
      0x66);
  events[WorkerEvent::QueueNotEmpty].set();
  putInFlight({.lastOfTransfer = true});
  const Bytes edited = editedBlock(Side::Input, 7);
  EXPECT_EQ(reply(input7), Outcome::Accepted);
  EXPECT_EQ(deviceBlock(Side::Input, 7), counting(120));
  EXPECT_EQ(editedBlock(Side::Input, 7), edited);
  EXPECT_TRUE(notifier.messages().empty());
  EXPECT_TRUE(events[WorkerEvent::QueueNotEmpty].isSet());
}

// --- into the program store (row 119) -------------------------------------------

const Bytes kProgram12Input3 = frame(
    {
        0x5A, 0x5A, 0x5A, 0x88,  // sync, start
        0x53, 0x03, 0x45,        // data reply, network, nonce
        0x00,                    // device ID
        0x0C,                    // value: program 12
        0x01,                    // block: input channel
        0x03,                    // channel 3
        0x77,                    // row 119: program store
        0x00,                    // reserved
        0x78,                    // length 120
    },
    counting(120),  // XOR 0
    0x14);

const Bytes kProgram30Output7 = frame(
    {
        0x5A, 0x5A, 0x5A, 0x88,  // sync, start
        0x53, 0x03, 0x46,        // data reply, network, nonce
        0x00,                    // device ID
        0x1E,                    // value: program 30
        0x02,                    // block: output channel
        0x07,                    // channel 7
        0x77,                    // row 119: program store
        0x00,                    // reserved
        0x70,                    // length 112
    },
    counting(112),  // XOR 0
    0x0A);

TEST_F(ChannelReplyTest, ProgramStoreRowGoesIntoTheProgramRecord) {
  const BlockSet before = device();
  EXPECT_EQ(reply(kProgram12Input3), Outcome::Accepted);
  EXPECT_EQ(programBlock(12, Side::Input, 3), counting(120));
  EXPECT_EQ(programBlock(12, Side::Input, 2), Bytes(120, 0x00));
  EXPECT_EQ(programBlock(11, Side::Input, 3), Bytes(120, 0x00));
  EXPECT_TRUE(device() == before);
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(ChannelReplyTest, LastBlockOfTheProgramTransferIsAnnounced) {
  events[WorkerEvent::QueueNotEmpty].set();
  putInFlight({.lastOfTransfer = true});
  const Bytes edited = editedBlock(Side::Output, 7);
  EXPECT_EQ(reply(kProgram30Output7), Outcome::Accepted);
  EXPECT_EQ(programBlock(30, Side::Output, 7), counting(112));
  EXPECT_EQ(editedBlock(Side::Output, 7), edited);

  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, Message::AllProgramsRead);
  EXPECT_EQ(messages[0].wParam, 3);
  EXPECT_EQ(messages[0].lParam, 0);
  EXPECT_TRUE(events[WorkerEvent::QueueNotEmpty].isSet());
}

TEST_F(ChannelReplyTest, ProgramTransferAnnouncesOnlyItsLastOutputBlock) {
  EXPECT_EQ(reply(kProgram30Output7), Outcome::Accepted);
  putInFlight({.lastOfTransfer = true});
  EXPECT_EQ(reply(kProgram12Input3), Outcome::Accepted);
  EXPECT_TRUE(notifier.messages().empty());
}

// --- replies with no place in the image -----------------------------------------

TEST_F(ChannelReplyTest, ChannelAboveSevenIsDropped) {
  const Bytes channel8 = {
      0x5A, 0x5A, 0x5A, 0x88,                          // sync, start
      0x53, 0x03, 0x49,                                // data reply, network, nonce
      0x00, 0x00,                                      // device ID, value
      0x01,                                            // block: input channel
      0x08,                                            // channel 8
      0x00, 0x00,                                      // row, reserved
      0x08,                                            // length 8
      0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // payload
      0x18,                                            // checksum
      0xAA,                                            // end
  };
  const ImageData before = snapshot();
  EXPECT_EQ(reply(channel8), Outcome::Accepted);
  expectUnchanged(before);
}

TEST_F(ChannelReplyTest, InputPayloadLongerThanTheBlockStopsAtItsEnd) {
  const Bytes long5 = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x4A,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x01,                    // block: input channel
          0x05,                    // channel 5
          0x00, 0x00,              // row, reserved
          0x79,                    // length 121
      },
      repeated(121, 0xEE), 0x89);
  EXPECT_EQ(reply(long5), Outcome::Accepted);
  EXPECT_EQ(deviceBlock(Side::Input, 5), repeated(120, 0xEE));
  EXPECT_EQ(deviceBlock(Side::Input, 6), Bytes(120, 0x00));
}

TEST_F(ChannelReplyTest, OutputPayloadLongerThanTheLastBlockStopsAtItsEnd) {
  const Bytes long7 = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x4B,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x02,                    // block: output channel
          0x07,                    // channel 7
          0x00, 0x00,              // row, reserved
          0x78,                    // length 120
      },
      repeated(120, 0xEE), 0x66);
  const ProgramStore store = programs();
  EXPECT_EQ(reply(long7), Outcome::Accepted);
  EXPECT_EQ(deviceBlock(Side::Output, 7), repeated(112, 0xEE));
  EXPECT_EQ(deviceBlock(Side::Output, 6), Bytes(112, 0x00));
  EXPECT_TRUE(programs() == store);
}

TEST_F(ChannelReplyTest, ProgramStoreRowForNoProgramIsDropped) {
  const Bytes program0 = {
      0x5A, 0x5A, 0x5A, 0x88,                          // sync, start
      0x53, 0x03, 0x4C,                                // data reply, network, nonce
      0x00,                                            // device ID
      0x00,                                            // value: program 0, no record
      0x01, 0x00,                                      // input channel 0
      0x77, 0x00,                                      // row 119, reserved
      0x08,                                            // length 8
      0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // payload
      0x62, 0xAA,                                      // checksum, end
  };
  const Bytes program31 = {
      0x5A, 0x5A, 0x5A, 0x88,                          // sync, start
      0x53, 0x03, 0x4D,                                // data reply, network, nonce
      0x00,                                            // device ID
      0x1F,                                            // value: 31, no record
      0x01, 0x00,                                      // input channel 0
      0x77, 0x00,                                      // row 119, reserved
      0x08,                                            // length 8
      0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,  // payload
      0x7C, 0xAA,                                      // checksum, end
  };
  const ImageData before = snapshot();
  EXPECT_EQ(reply(program0), Outcome::Accepted);
  EXPECT_EQ(reply(program31), Outcome::Accepted);
  expectUnchanged(before);
}

TEST_F(ChannelReplyTest, ProgramStorePayloadLongerThanTheBlockSparesTheName) {
  const Bytes long7 = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x4E,        // data reply, network, nonce
          0x00,                    // device ID
          0x05,                    // value: program 5
          0x02,                    // block: output channel
          0x07,                    // channel 7: the last block before the name
          0x77, 0x00,              // row 119, reserved
          0x78,                    // length 120
      },
      repeated(120, 0xEE), 0x11);
  EXPECT_EQ(reply(long7), Outcome::Accepted);
  EXPECT_EQ(programBlock(5, Side::Output, 7), repeated(112, 0xEE));
  const Bytes name = read([](const ImageData& d) {
    ProgramRecord record = d.programs[4];
    const auto n = recordName(record);
    return Bytes(n.begin(), n.end());
  });
  EXPECT_EQ(name, Bytes(16, 0x00));
}

}  // namespace
}  // namespace orvane::test
