#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "model/SetupSettings.h"
#include "model/StartupProgram.h"

namespace orvane {
namespace {

using Block = SetupSettings::Block;

Block startUpBlock() {
  SystemAreas areas;
  areas.applyStartupDefaults();
  return areas.setup;
}

// A block as another firmware might send it: unknown mode bits, every field
// outside its range, something in the bytes the editor does not edit.
Block foreignBlock() {
  Block block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(0xF0 - 3 * i);
  return block;
}

struct Edit {
  const char* name;
  std::function<bool(SetupSettings&)> apply;
  std::map<int, std::uint8_t> bytes;  // offset -> expected byte; every other byte unchanged
};

TEST(SetupSettings, EachEditPacksIntoItsOwnBytesOnly) {
  const std::vector<Edit> edits = {
      {"slave forces digital output",
       [](SetupSettings& s) { return s.setDeviceMode(DeviceMode::Slave); },
       {{0, 0x02}}},
      {"discussion mode",
       [](SetupSettings& s) { return s.setOperatingMode(OperatingMode::Discussion); },
       {{0, 0x05}}},
      {"0 dBFS 12 dBu = 920",
       [](SetupSettings& s) { return s.setZeroDbfsDbu(12); },
       {{14, 0x98}, {15, 0x03}}},
      {"0 dBFS 24 dBu = 1040",
       [](SetupSettings& s) { return s.setZeroDbfsDbu(24); },
       {{14, 0x10}, {15, 0x04}}},
      {"0 dBFS 30 dBu clamped to 24",
       [](SetupSettings& s) { return s.setZeroDbfsDbu(30); },
       {{14, 0x10}, {15, 0x04}}},
      {"chairman IN A and IN H",
       [](SetupSettings& s) {
         return s.setPriority(0, PriorityLevel::Chairman) && s.setPriority(7, PriorityLevel::Chairman);
       },
       {{2, 0x81}}},
      {"discussion threshold of IN C",
       [](SetupSettings& s) {
         return s.setOperatingMode(OperatingMode::Discussion) && s.setThreshold(2, 900);
       },
       {{0, 0x05}, {42, 0x84}, {43, 0x03}}},
      {"conference threshold of IN C clamped to 1300",
       [](SetupSettings& s) { return s.setThreshold(2, 4000); },
       {{26, 0x14}, {27, 0x05}}},
      {"discussion channels and level",
       [](SetupSettings& s) {
         return s.setOperatingMode(OperatingMode::Discussion) && s.setSimultaneousChannels(2) &&
                s.setPriority(1, PriorityLevel::Chairman);
       },
       {{0, 0x05}, {8, 0x02}, {9, 0x02}}},
      {"discussion cascade attenuation",
       [](SetupSettings& s) { return s.setAttenuation(Attenuation::DiscussionCascade, 512); },
       {{12, 0x00}, {13, 0x02}}},
      {"optical delay clamped to 11", [](SetupSettings& s) { return s.setOpticalDelay(40); }, {{1, 11}}},
  };
  for (const Edit& edit : edits) {
    SetupSettings settings(startUpBlock());
    EXPECT_TRUE(edit.apply(settings)) << edit.name;
    Block expected = startUpBlock();
    for (const auto& [offset, value] : edit.bytes) expected[static_cast<std::size_t>(offset)] = value;
    EXPECT_EQ(settings.pack(), expected) << edit.name;
  }
}

TEST(SetupSettings, UntouchedFieldsGoBackAsReadThoughShownClamped) {
  const Block read = foreignBlock();
  SetupSettings settings(read);
  Block expected = read;
  expected[0] &= 0x07;  // only the three mode bits are sent
  EXPECT_EQ(settings.pack(), expected);

  // Shown within their ranges: F0 = master off, digital off, discussion off.
  EXPECT_EQ(settings.opticalDelay(), 11);         // 0xED
  EXPECT_EQ(settings.simultaneousChannels(), 8);  // 0xE7
  EXPECT_EQ(settings.threshold(0), 1300);         // 0xAE / 0xAB (word 0xABAE)
  EXPECT_EQ(settings.attenuation(Attenuation::ConferenceRepresentative), 800);
  EXPECT_EQ(settings.zeroDbfsDbu(), 24);
  EXPECT_TRUE(settings.slaveWithAnalogOutput());

  // Editing one field rewrites that field only.
  EXPECT_TRUE(settings.setAttenuation(Attenuation::ConferenceCascade, 600));
  expected[6] = 0x58;
  expected[7] = 0x02;
  EXPECT_EQ(settings.pack(), expected);

  // A reference just above a step is shown as that step and kept when untouched.
  Block odd = startUpBlock();
  odd[14] = 0x61;  // 865
  EXPECT_EQ(SetupSettings(odd).zeroDbfsDbu(), 6);
  EXPECT_EQ(SetupSettings(odd).pack(), odd);
}

TEST(SetupSettings, EachModeShowsItsOwnSetAndReEnteringChangesNothing) {
  SetupSettings settings(startUpBlock());
  EXPECT_EQ(settings.deviceMode(), DeviceMode::Master);
  EXPECT_EQ(settings.output(), OutputSelection::Analog);
  EXPECT_EQ(settings.simultaneousChannels(), 7);
  EXPECT_EQ(settings.threshold(4), 820);
  ASSERT_TRUE(settings.setThreshold(4, 700));
  ASSERT_TRUE(settings.setSimultaneousChannels(0));
  ASSERT_TRUE(settings.setPriority(4, PriorityLevel::Chairman));
  ASSERT_TRUE(settings.setOperatingMode(OperatingMode::Discussion));
  EXPECT_EQ(settings.threshold(4), 820);
  EXPECT_EQ(settings.simultaneousChannels(), 7);
  EXPECT_EQ(settings.priority(4), PriorityLevel::Representative);
  ASSERT_TRUE(settings.setOperatingMode(OperatingMode::Conference));
  EXPECT_EQ(settings.threshold(4), 700);
  EXPECT_EQ(settings.priority(4), PriorityLevel::Chairman);

  EXPECT_FALSE(settings.setThreshold(4, 700));
  EXPECT_FALSE(settings.setOperatingMode(OperatingMode::Conference));
  EXPECT_FALSE(settings.setZeroDbfsDbu(6));
  EXPECT_FALSE(settings.setPriority(4, PriorityLevel::Chairman));
  EXPECT_FALSE(settings.setDeviceMode(DeviceMode::Master));
  EXPECT_THROW(settings.setThreshold(8, 700), std::out_of_range);
}

TEST(SetupSettings, ASlaveOutputsDigitally) {
  SetupSettings settings(startUpBlock());
  EXPECT_TRUE(settings.outputSelectable());
  ASSERT_TRUE(settings.setDeviceMode(DeviceMode::Slave));
  EXPECT_EQ(settings.output(), OutputSelection::Digital);
  EXPECT_FALSE(settings.outputSelectable());
  EXPECT_FALSE(settings.setOutput(OutputSelection::Analog));
  EXPECT_EQ(settings.pack()[0] & 0x03, 0x02);  // bit 0 slave, bit 1 digital
  ASSERT_TRUE(settings.setDeviceMode(DeviceMode::Master));
  EXPECT_EQ(settings.output(), OutputSelection::Digital) << "master keeps what the slave had";
  EXPECT_TRUE(settings.setOutput(OutputSelection::Analog));

  // A slave reported with analog output: warned about, left as it is, and
  // the user may still choose digital.
  Block reported = startUpBlock();
  reported[0] = 0x00;
  SetupSettings slave(reported);
  EXPECT_TRUE(slave.slaveWithAnalogOutput());
  EXPECT_TRUE(slave.outputSelectable());
  EXPECT_EQ(slave.pack()[0], 0x00);
  EXPECT_TRUE(slave.setOutput(OutputSelection::Digital));
  EXPECT_FALSE(slave.outputSelectable());
}

TEST(StartupProgram, AboveThirtyReadsAsThirtyAndReSelectingSendsNothing) {
  const std::vector<std::pair<std::uint8_t, int>> reads = {{0, 0}, {17, 17}, {30, 30}, {31, 30}, {255, 30}};
  for (const auto& [stored, index] : reads) EXPECT_EQ(StartupProgram(stored).index(), index) << int{stored};

  StartupProgram program(31);
  EXPECT_FALSE(program.select(30));
  EXPECT_TRUE(program.select(5));
  EXPECT_EQ(program.stored(), 5);
  EXPECT_FALSE(program.select(5));
  EXPECT_TRUE(program.select(99));
  EXPECT_EQ(program.stored(), 30);
}

}  // namespace
}  // namespace orvane
