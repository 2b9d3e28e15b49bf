#include <gtest/gtest.h>

#include <string>

#include "protocol/LockPacket.h"

namespace orvane {
namespace {

using LockPacket::Packet;

constexpr std::uint8_t kBlank = 0x20;

std::string passwordBytes(const LockState& locks) {
  return std::string(locks.bytes.begin() + LockState::kPasswordOffset, locks.bytes.end());
}

// --- building ---------------------------------------------------------------

TEST(LockPacketBuildTest, InputGainAndOutputMute) {
  LockState locks;
  locks.setLocked(LockFlag::InputGain, true);
  locks.setLocked(LockFlag::OutputMute, true);
  const Packet expected = {
      0x08,                                            // flags 0-7: flag 3 input gain
      0x00,                                            // flags 8-15
      0x02,                                            // flags 16-23: flag 17 output mute
      0x00,                                            // flags 24-31
      0x00,                                            // flags 32-39
      0x00,                                            // flags 40-47
      kBlank, kBlank, kBlank, kBlank, kBlank, kBlank,  // no password
  };
  EXPECT_EQ(LockPacket::build(locks), expected);
}

TEST(LockPacketBuildTest, FirstAndLastFlagOfAByte) {
  LockState locks;
  for (int flag : {0, 15, 32, 47}) locks.setLocked(flag, true);
  const Packet expected = {
      0x01,  // flag 0
      0x80,  // flag 15
      0x00,   0x00,
      0x01,  // flag 32
      0x80,  // flag 47
      kBlank, kBlank, kBlank, kBlank, kBlank, kBlank,
  };
  EXPECT_EQ(LockPacket::build(locks), expected);
}

TEST(LockPacketBuildTest, CarriesThePassword) {
  LockState locks;
  locks.password = "A1b2C3";
  const Packet expected = {
      0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // no flags
      'A',  '1',  'b',  '2',  'C',  '3',   // password
  };
  EXPECT_EQ(LockPacket::build(locks), expected);
}

TEST(LockPacketBuildTest, StoredPasswordCharactersAreNotFlags) {
  // Bytes 48..53 hold the password as last received; they must neither be
  // packed as flags nor stand in for the password text.
  LockState locks;
  std::fill(locks.bytes.begin() + LockState::kPasswordOffset, locks.bytes.end(), std::uint8_t{'X'});
  const Packet expected = {
      0x00,   0x00,   0x00,   0x00,   0x00,   0x00,    // no flags
      kBlank, kBlank, kBlank, kBlank, kBlank, kBlank,  // password removed
  };
  EXPECT_EQ(LockPacket::build(locks), expected);
}

// --- applying a received packet ---------------------------------------------

class LockPacketApplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Locks that were in force before the packet arrived.
    locks.setLocked(LockFlag::InputMainVolume, true);
    locks.setLocked(LockFlag::InputEq, true);
    locks.setLocked(LockFlag::Settings, true);
    locks.deviceLock[LockFlag::InputEq] = 1;
    locks.password = "OLDPWD";
  }
  LockState locks;
};

TEST_F(LockPacketApplyTest, WorkingStateTakesEveryFlagAndThePassword) {
  const Packet packet = {
      0x08,  // flag 3
      0x00,
      0x02,  // flag 17
      0x00,
      0x01,                           // flag 32
      0x80,                           // flag 47
      ' ',  'A', 'B', '1', ' ', ' ',  // password "AB1" between blanks
  };
  LockPacket::apply(packet, 0, locks);

  for (int flag = 0; flag < 48; ++flag) {
    const bool expected = flag == 3 || flag == 17 || flag == 32 || flag == 47;
    EXPECT_EQ(locks.isLocked(flag), expected) << "flag " << flag;
  }
  EXPECT_EQ(passwordBytes(locks), " AB1  ");
  EXPECT_EQ(locks.password, "AB1");
  EXPECT_EQ(locks.deviceLock[LockFlag::InputEq], 1) << "the device-lock copy is not the working state's";
}

TEST_F(LockPacketApplyTest, SixBlanksMeanNoPassword) {
  const Packet packet = {0, 0, 0, 0, 0, 0, kBlank, kBlank, kBlank, kBlank, kBlank, kBlank};
  LockPacket::apply(packet, 0, locks);
  EXPECT_EQ(locks.password, "");
}

TEST_F(LockPacketApplyTest, PasswordEndsAtTheFirstZeroByte) {
  // A device whose password was never set may send zeros.
  const Packet zeros = {0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
  LockPacket::apply(zeros, 0, locks);
  EXPECT_EQ(locks.password, "");

  const Packet shortOne = {0, 0, 0, 0, 0, 0, ' ', 'P', 'W', 0x00, 'Z', 'Z'};
  LockPacket::apply(shortOne, 0, locks);
  EXPECT_EQ(locks.password, "PW");
}

TEST_F(LockPacketApplyTest, DeviceLockSetTouchesOnlyTheDeviceLockCopy) {
  const Packet packet = {
      0x00,
      0x00,          // flag 12 input EQ no longer locked on the device
      0x20,          // flag 21 output master volume
      0x80,          // flag 31
      0xFF,   0xFF,  // flags 32-47: never part of the device-lock copy
      kBlank, kBlank, kBlank, kBlank, kBlank, kBlank,
  };
  LockPacket::apply(packet, 31, locks);

  for (int flag = 0; flag < 48; ++flag) {
    const bool expected = flag == 21 || flag == 31;
    EXPECT_EQ(locks.deviceLock[static_cast<std::size_t>(flag)], expected ? 1 : 0) << "flag " << flag;
  }
  EXPECT_TRUE(locks.isLocked(LockFlag::InputMainVolume));
  EXPECT_TRUE(locks.isLocked(LockFlag::InputEq));
  EXPECT_TRUE(locks.isLocked(LockFlag::Settings));
  EXPECT_FALSE(locks.isLocked(LockFlag::OutputMainVolume));
  EXPECT_EQ(locks.password, "OLDPWD");
}

TEST_F(LockPacketApplyTest, StoredProgramTakesFunctionLocksIntoFlagsAndDeviceLockCopy) {
  const Packet packet = {
      0x01,  // flag 0 input label
      0x00,  // flag 12 input EQ cleared
      0x00,
      0x80,        // flag 31
      0xFF, 0xFF,  // system locks: not carried by a program
      'Q',  'Q',  'Q', 'Q', 'Q', 'Q',
  };
  LockPacket::apply(packet, 7, locks);

  for (int flag = 0; flag < 32; ++flag) {
    const bool expected = flag == 0 || flag == 31;
    EXPECT_EQ(locks.isLocked(flag), expected) << "flag " << flag;
    EXPECT_EQ(locks.deviceLock[static_cast<std::size_t>(flag)], expected ? 1 : 0) << "flag " << flag;
  }
  for (int flag = 32; flag < 48; ++flag) {
    EXPECT_EQ(locks.isLocked(flag), flag == LockFlag::Settings) << "flag " << flag;
    EXPECT_EQ(locks.deviceLock[static_cast<std::size_t>(flag)], 0) << "flag " << flag;
  }
  EXPECT_EQ(locks.password, "OLDPWD");
}

}  // namespace
}  // namespace orvane
