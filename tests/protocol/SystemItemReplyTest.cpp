#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "LinkFixture.h"

namespace orvane::test {
namespace {

Bytes text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

std::string asText(std::span<const std::uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class SystemItemReplyTest : public LinkFixture {
 protected:
  void SetUp() override { putInFlight(); }
};

// --- program names (item 0) ----------------------------------------------------

TEST_F(SystemItemReplyTest, NameOfProgramZeroIsTheCurrentProgramName) {
  const Bytes name = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x31,        // data reply, network, nonce
          0x00,                    // device ID
          0x00,                    // value: program 0
          0x03, 0x00,              // system item 0: program name
          0x00, 0x00,              // row, reserved
          0x10,                    // length 16
      },
      text("Conference Rm 01"), 0x72);
  EXPECT_EQ(reply(name), Outcome::Accepted);
  EXPECT_EQ(read([](const ImageData& d) { return asText(d.currentProgramName); }), "Conference Rm 01");
}

TEST_F(SystemItemReplyTest, NameOfAStoredProgramGoesIntoItsRecord) {
  const Bytes name = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x32,        // data reply, network, nonce
          0x00,                    // device ID
          0x07,                    // value: program 7
          0x03, 0x00,              // system item 0: program name
          0x00, 0x00,              // row, reserved
          0x10,                    // length 16
      },
      concat(text("Program Seven"), {0x00, 0x00, 0x00}), 0x49);
  EXPECT_EQ(reply(name), Outcome::Accepted);
  read([](const ImageData& d) {
    ProgramRecord record = d.programs[6];
    EXPECT_EQ(asText(recordName(record)), std::string("Program Seven\0\0\0", 16));
    record = d.programs[5];
    EXPECT_EQ(asText(recordName(record)), std::string(16, '\0'));
    record = d.programs[7];
    EXPECT_EQ(asText(recordName(record)), std::string(16, '\0'));
    EXPECT_EQ(asText(d.currentProgramName), std::string("NULL\0\0\0\0\0\0\0\0\0\0\0\0", 16));
  });
}

// The device acknowledges a name it was sent with an empty data reply;
// the name stays.
TEST_F(SystemItemReplyTest, AcknowledgedNameWriteKeepsTheName) {
  modify([](ImageData& d) { std::ranges::copy(text("Stage"), recordName(d.programs[4]).begin()); });
  slot.withFrames([](SendData& t, SendData&) { t.set(FrameOffset::Cmd, 0xA1); });
  const Bytes ack = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x31,        // data reply, network, nonce
          0x00,                    // device ID
          0x05,                    // value: program 5
          0x03, 0x00,              // system item 0: program name
          0x00, 0x00,              // row, reserved
          0x00,                    // length 0
      },
      {}, 0x67);
  EXPECT_EQ(reply(ack), Outcome::Accepted);
  read([](const ImageData& d) {
    ProgramRecord record = d.programs[4];
    EXPECT_EQ(asText(recordName(record)).substr(0, 5), "Stage");
  });
}

TEST_F(SystemItemReplyTest, NameOfAProgramThatDoesNotExistIsDropped) {
  const Bytes name = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x33,        // data reply, network, nonce
          0x00,                    // device ID
          0x1F,                    // value: 31, no program record
          0x03, 0x00,              // system item 0: program name
          0x00, 0x00,              // row, reserved
          0x10,                    // length 16
      },
      concat(text("Program Seven"), {0x00, 0x00, 0x00}), 0x50);
  const ImageData before = snapshot();
  EXPECT_EQ(reply(name), Outcome::Accepted);
  expectUnchanged(before);
}

// --- levels (item 3) -------------------------------------------------------------

const Bytes kLevels = frame(
    {
        0x5A, 0x5A, 0x5A, 0x88,  // sync, start
        0x53, 0x03, 0x34,        // data reply, network, nonce
        0x00, 0x00,              // device ID, value
        0x03, 0x03,              // system item 3: levels
        0x00, 0x00,              // row, reserved
        0x10,                    // length 16
    },
    {
        0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,  // inputs A..H
        0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18,  // outputs 1..8
    },
    0x74);

const Bytes kLaterLevels = frame(
    {
        0x5A, 0x5A, 0x5A, 0x88,  // sync, start
        0x53, 0x03, 0x5B,        // data reply, network, nonce
        0x00, 0x00,              // device ID, value
        0x03, 0x03,              // system item 3: levels
        0x00, 0x00,              // row, reserved
        0x10,                    // length 16
    },
    {
        0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,  // inputs
        0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38,  // outputs
    },
    0x1B);

using Levels = std::array<std::uint8_t, 8>;

TEST_F(SystemItemReplyTest, LevelsAreStoredOnlyWhileTheMetersWaitForThem) {
  levels.request();
  EXPECT_EQ(reply(kLevels), Outcome::Accepted);
  // The meters have not shown them yet: the next reply is dropped, not queued.
  EXPECT_EQ(reply(kLaterLevels), Outcome::Accepted);

  EXPECT_FALSE(levels.requested());
  read([](const ImageData& d) {
    EXPECT_EQ(d.status.inputLevels, (Levels{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}));
    EXPECT_EQ(d.status.outputLevels, (Levels{0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18}));
  });
  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, Message::LevelsRead);
  EXPECT_EQ(messages[0].wParam, 3);
  EXPECT_EQ(messages[0].lParam, 0);

  // Re-armed once shown.
  levels.request();
  EXPECT_EQ(reply(kLaterLevels), Outcome::Accepted);
  EXPECT_EQ(read([](const ImageData& d) { return d.status.outputLevels; }),
            (Levels{0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38}));
  EXPECT_EQ(notifier.count(Message::LevelsRead), 2);

  // The same levels again: nothing new for the meters, which keep waiting.
  levels.request();
  EXPECT_EQ(reply(kLaterLevels), Outcome::Accepted);
  EXPECT_EQ(notifier.count(Message::LevelsRead), 2);
  EXPECT_TRUE(levels.requested());
  EXPECT_EQ(reply(kLevels), Outcome::Accepted);
  EXPECT_EQ(notifier.count(Message::LevelsRead), 3);
}

TEST_F(SystemItemReplyTest, LevelsShownAlreadyAreAnnouncedAgainAfterTheRefreshTime) {
  ReplyDispatcher refreshing(image, notifier, events, levels, check, std::chrono::milliseconds(0));
  for (int n = 1; n <= 2; ++n) {
    levels.request();
    ASSERT_TRUE(slot.parse(kLevels, refreshing));
    EXPECT_EQ(notifier.count(Message::LevelsRead), n);
  }
}

// --- firmware version (item 4) ---------------------------------------------------

TEST_F(SystemItemReplyTest, FirmwareVersionIsStoredAndAnnounced) {
  const Bytes version = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x35,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x03, 0x04,              // system item 4: firmware version
          0x00, 0x00,              // row, reserved
          0x08,                    // length 8
      },
      text("J-DV2.10"), 0x02);
  EXPECT_EQ(reply(version), Outcome::Accepted);
  EXPECT_EQ(read([](const ImageData& d) { return asText(d.status.firmwareVersion); }), "J-DV2.10");
  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, Message::FirmwareVersionRead);
  EXPECT_EQ(messages[0].wParam, 0);
  EXPECT_EQ(messages[0].lParam, 0);
}

// --- ID search answers (item 21), on the serial link ------------------------------

class IdAnswerTest : public SystemItemReplyTest {
 protected:
  void SetUp() override {
    SystemItemReplyTest::SetUp();
    modify([](ImageData& d) { d.connection.idTable.fill(0); });
  }
  std::array<std::uint8_t, 250> table() {
    return read([](const ImageData& d) { return d.connection.idTable; });
  }
};

TEST_F(IdAnswerTest, AnswerMarksItsEntry) {
  const Bytes answer = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53,                    // cmd: data reply
      0x01,                    // link: serial
      0x36,                    // nonce
      0x11,                    // device ID 17
      0x00,                    // value
      0x03, 0x15,              // system item 21: device ID
      0x00, 0x00,              // row, reserved
      0x01,                    // length 1
      0x11,                    // answer: ID 17
      0x73,                    // checksum
      0xAA,                    // end
  };
  EXPECT_EQ(reply(answer), Outcome::Accepted);
  std::array<std::uint8_t, 250> expected{};
  expected[16] = 17;
  EXPECT_EQ(table(), expected);
  EXPECT_TRUE(notifier.messages().empty());
}

TEST_F(IdAnswerTest, AnswerFromTheLastIdEndsTheSearch) {
  const Bytes answer = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53,                    // cmd: data reply
      0x01,                    // link: serial
      0x37,                    // nonce
      0xFA,                    // device ID 250
      0x00,                    // value
      0x03, 0x15,              // system item 21: device ID
      0x00, 0x00,              // row, reserved
      0x01,                    // length 1
      0xFA,                    // answer: ID 250
      0x72,                    // checksum
      0xAA,                    // end
  };
  EXPECT_EQ(reply(answer), Outcome::Accepted);
  EXPECT_EQ(table()[249], 250);
  const auto messages = notifier.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].message, Message::LinkLost);
  EXPECT_EQ(messages[0].wParam, 1);
  EXPECT_EQ(messages[0].lParam, 0);
}

TEST_F(IdAnswerTest, AnswersWithoutAnEntryAreDropped) {
  const Bytes answer0 = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x01, 0x38,        // data reply, serial, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0x15,              // system item 21
      0x00, 0x00,              // row, reserved
      0x01, 0x00,              // length 1, answer: ID 0
      0x7D, 0xAA,              // checksum, end
  };
  const Bytes answer251 = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x01, 0x39,        // data reply, serial, nonce
      0xFB, 0x00,              // device ID 251, value
      0x03, 0x15,              // system item 21
      0x00, 0x00,              // row, reserved
      0x01, 0xFB,              // length 1, answer: ID 251
      0x7C, 0xAA,              // checksum, end
  };
  const Bytes answer255 = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x01, 0x3A,        // data reply, serial, nonce
      0xFF, 0x00,              // device ID 255, value
      0x03, 0x15,              // system item 21
      0x00, 0x00,              // row, reserved
      0x01, 0xFF,              // length 1, answer: ID 255
      0x7F, 0xAA,              // checksum, end
  };
  const ImageData before = snapshot();
  for (const Bytes* answer : {&answer0, &answer251, &answer255}) EXPECT_EQ(reply(*answer), Outcome::Accepted);
  expectUnchanged(before);
  EXPECT_TRUE(notifier.messages().empty());
}

// --- start-up program (item 24) -----------------------------------------------

TEST_F(SystemItemReplyTest, StartupProgramIsLimitedToThirty) {
  const Bytes program45 = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x03, 0x3B,        // data reply, network, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0x18,              // system item 24: start-up program
      0x00, 0x00,              // row, reserved
      0x01, 0x2D,              // length 1, program 45
      0x5C, 0xAA,              // checksum, end
  };
  EXPECT_EQ(reply(program45), Outcome::Accepted);
  EXPECT_EQ(read([](const ImageData& d) { return static_cast<int>(d.system.startupProgram); }), 30);
}

// --- network name (item 51) ------------------------------------------------------

TEST_F(SystemItemReplyTest, NetworkNameTakesTheLengthOfTheReply) {
  const Bytes hall = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x3C,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x03, 0x33,              // system item 51: network name
          0x00, 0x00,              // row, reserved
          0x05,                    // length 5
      },
      text("Hall1"), 0x41);
  const Bytes empty = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x03, 0x3D,        // data reply, network, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0x33,              // system item 51: network name
      0x00, 0x00,              // row, reserved
      0x00,                    // length 0
      0x5D, 0xAA,              // checksum, end
  };
  modify([](ImageData& d) { d.system.networkName = "A much longer old name"; });
  EXPECT_EQ(reply(hall), Outcome::Accepted);
  EXPECT_EQ(read([](const ImageData& d) { return d.system.networkName; }), "Hall1");
  EXPECT_EQ(reply(empty), Outcome::Accepted);
  EXPECT_EQ(read([](const ImageData& d) { return d.system.networkName; }), "");
}

// --- set-up blocks (items 52, 53) ----------------------------------------------

TEST_F(SystemItemReplyTest, SetupBlockIsTakenWhole) {
  const Bytes setup = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x3E,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x03, 0x34,              // system item 52: set-up block
          0x00, 0x00,              // row, reserved
          0x36,                    // length 54
      },
      counting(54, 0x01),  // 01 02 … 36
      0x58);
  EXPECT_EQ(reply(setup), Outcome::Accepted);
  const auto block = read([](const ImageData& d) { return d.system.setup; });
  EXPECT_EQ(Bytes(block.begin(), block.end()), counting(54, 0x01));
}

TEST_F(SystemItemReplyTest, ExtendedBlockIsTakenAndSwitchesTheCameraButtons) {
  const Bytes extended = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x3F,        // data reply, network, nonce
          0x00, 0x00,              // device ID, value
          0x03, 0x35,              // system item 53: extended set-up block
          0x00, 0x00,              // row, reserved
          0x17,                    // length 23
      },
      counting(23, 0x40),  // 40 41 … 56
      0x19);
  modify([](ImageData& d) {
    d.status.cameraSaveEnabled = true;
    d.status.cameraLoadEnabled = false;
  });
  EXPECT_EQ(reply(extended), Outcome::Accepted);
  read([](const ImageData& d) {
    EXPECT_EQ(Bytes(d.system.extended.begin(), d.system.extended.end()), counting(23, 0x40));
    EXPECT_FALSE(d.status.cameraSaveEnabled);
    EXPECT_TRUE(d.status.cameraLoadEnabled);
  });
}

TEST_F(SystemItemReplyTest, OtherItemsAreTakenWithoutEffect) {
  const Bytes item49 = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x03, 0x40,        // data reply, network, nonce
      0x00, 0x00,              // device ID, value
      0x03, 0x31,              // system item 49
      0x00, 0x00,              // row, reserved
      0x01, 0x00,              // length 1, payload
      0x23, 0xAA,              // checksum, end
  };
  const ImageData before = snapshot();
  EXPECT_EQ(reply(item49), Outcome::Accepted);
  expectUnchanged(before);
  EXPECT_TRUE(notifier.messages().empty());
}

// --- lock packets (block 0xA1) and stored lock packets (block 0xB1) ----------

TEST_F(SystemItemReplyTest, LockPacketOfTheWorkingStateSetsFlagsAndPasswordUntilTheLinkIsLost) {
  const Bytes packet = {0x08, 0x00, 0x02, 0x00, 0x01, 0x80, ' ', 'A', 'B', '1', ' ', ' '};
  const Bytes locks = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x50,        // data reply, network, nonce
          0x00,                    // device ID
          0x00,                    // value: program 0
          0xA1,                    // block: lock packet
          0x00, 0x00, 0x00,        // item, row, reserved
          0x0C,                    // length 12
      },
      packet,  // flags 3, 17, 32, 47; password " AB1  "
      0x34);
  EXPECT_EQ(reply(locks), Outcome::Accepted);
  read([&](const ImageData& d) {
    for (int flag = 0; flag < 48; ++flag)
      EXPECT_EQ(d.locks.isLocked(flag), flag == 3 || flag == 17 || flag == 32 || flag == 47)
          << "flag " << flag;
    EXPECT_EQ(asText(std::span(d.locks.bytes).subspan(48)), " AB1  ");
    EXPECT_EQ(d.locks.password, "AB1");
  });
  // A lost link clears the password: no copy of it, nor of the packet that
  // brought it, is left anywhere in the image (the password text may keep
  // its old characters past its new end, never the six bytes in a row).
  image.disconnectReset();
  const auto after = std::make_unique<ImageData>(snapshot());
  const std::span<const std::uint8_t> held(reinterpret_cast<const std::uint8_t*>(after.get()),
                                           sizeof(ImageData));
  const auto password = std::span(packet).subspan(6);
  EXPECT_TRUE(std::search(held.begin(), held.end(), password.begin(), password.end()) == held.end())
      << "the password is still in the image";
}

TEST_F(SystemItemReplyTest, LockPacketOfProgram31SetsOnlyTheDeviceLockCopy) {
  const Bytes locks = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x51,        // data reply, network, nonce
          0x00,                    // device ID
          0x1F,                    // value: 31, the device-lock set
          0xA1,                    // block: lock packet
          0x00, 0x00, 0x00,        // item, row, reserved
          0x0C,                    // length 12
      },
      {0x00, 0x10, 0x00, 0x00, 0x00, 0x00, ' ', ' ', ' ', ' ', ' ', ' '},  // flag 12
      0xA3);
  modify([](ImageData& d) { d.locks.setLocked(LockFlag::InputMute, true); });
  EXPECT_EQ(reply(locks), Outcome::Accepted);
  read([](const ImageData& d) {
    for (int flag = 0; flag < 48; ++flag) {
      EXPECT_EQ(d.locks.deviceLock[static_cast<std::size_t>(flag)], flag == 12 ? 1 : 0) << "flag " << flag;
      EXPECT_EQ(d.locks.isLocked(flag), flag == LockFlag::InputMute) << "flag " << flag;
    }
  });
}

TEST_F(SystemItemReplyTest, LockPacketOfAStoredProgramSetsFunctionLocks) {
  const Bytes locks = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x52,        // data reply, network, nonce
          0x00,                    // device ID
          0x05,                    // value: program 5
          0xA1,                    // block: lock packet
          0x00, 0x00, 0x00,        // item, row, reserved
          0x0C,                    // length 12
      },
      {0x01, 0x00, 0x00, 0x80, 0xFF, 0xFF, ' ', ' ', ' ', ' ', ' ', ' '},  // flags 0, 31, 32..47
      0x2B);
  modify([](ImageData& d) { d.locks.password = "SECRET"; });
  EXPECT_EQ(reply(locks), Outcome::Accepted);
  read([](const ImageData& d) {
    for (int flag = 0; flag < 48; ++flag) {
      const bool expected = flag == 0 || flag == 31;
      EXPECT_EQ(d.locks.isLocked(flag), expected) << "flag " << flag;
      EXPECT_EQ(d.locks.deviceLock[static_cast<std::size_t>(flag)], expected ? 1 : 0) << "flag " << flag;
    }
    EXPECT_EQ(d.locks.password, "SECRET");
  });
}

TEST_F(SystemItemReplyTest, ShortLockPacketIsTakenWithoutEffect) {
  const Bytes locks = {
      0x5A, 0x5A, 0x5A, 0x88,  // sync, start
      0x53, 0x03, 0x56,        // data reply, network, nonce
      0x00, 0x00,              // device ID, value: program 0
      0xA1,                    // block: lock packet
      0x00, 0x00, 0x00,        // item, row, reserved
      0x04,                    // length 4
      0xFF, 0xFF, 0xFF, 0xFF,  // flags 0..31
      0xA3, 0xAA,              // checksum, end
  };
  const ImageData before = snapshot();
  EXPECT_EQ(reply(locks), Outcome::Accepted);
  expectUnchanged(before);
}

TEST_F(SystemItemReplyTest, StoredLockPacketGoesIntoItsProgramRecord) {
  const Bytes stored = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x53,        // data reply, network, nonce
          0x00,                    // device ID
          0x0C,                    // value: program 12
          0xB1,                    // block: stored lock packet
          0x00, 0x00, 0x00,        // item, row, reserved
          0x0C,                    // length 12
      },
      {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, ' ', ' ', ' ', ' ', ' ', ' '}, 0xB5);
  EXPECT_EQ(reply(stored), Outcome::Accepted);
  read([](const ImageData& d) {
    ProgramRecord record = d.programs[11];
    const auto packet = recordLockPacket(record);
    EXPECT_EQ(Bytes(packet.begin(), packet.end()),
              (Bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, ' ', ' ', ' ', ' ', ' ', ' '}));
    for (int flag = 0; flag < 48; ++flag) EXPECT_FALSE(d.locks.isLocked(flag)) << "flag " << flag;
  });
}

TEST_F(SystemItemReplyTest, StoredLockPacketOfNoProgramIsDropped) {
  const Bytes program0 = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x54,        // data reply, network, nonce
          0x00,                    // device ID
          0x00,                    // value: program 0, no record
          0xB1,                    // block: stored lock packet
          0x00, 0x00, 0x00,        // item, row, reserved
          0x0C,                    // length 12
      },
      {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, ' ', ' ', ' ', ' ', ' ', ' '}, 0xBE);
  const Bytes program31 = frame(
      {
          0x5A, 0x5A, 0x5A, 0x88,  // sync, start
          0x53, 0x03, 0x55,        // data reply, network, nonce
          0x00,                    // device ID
          0x1F,                    // value: 31, no record
          0xB1,                    // block: stored lock packet
          0x00, 0x00, 0x00,        // item, row, reserved
          0x0C,                    // length 12
      },
      {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, ' ', ' ', ' ', ' ', ' ', ' '}, 0xA0);
  const ImageData before = snapshot();
  EXPECT_EQ(reply(program0), Outcome::Accepted);
  EXPECT_EQ(reply(program31), Outcome::Accepted);
  expectUnchanged(before);
}

}  // namespace
}  // namespace orvane::test
