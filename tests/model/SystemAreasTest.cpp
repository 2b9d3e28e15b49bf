#include <gtest/gtest.h>

#include <numeric>

#include "model/SystemAreas.h"

namespace orvane {
namespace {

TEST(SystemAreas, StartUpSetupBlock) {
  SystemAreas areas;
  areas.setup.fill(0xEE);
  areas.applyStartupDefaults();
  const std::array<std::uint8_t, 54> expected = {
      1,
      0,
      0,
      7,
      200,
      0,
      200,
      0,  // master, analog, conference; no delay; 8 channels;
          // attenuation OFF
      0,
      7,
      0x58,
      0x02,
      0x58,
      0x02,  // discussion: 8 channels, -20.0 dB twice
      0x5C,
      0x03,  // 0 dBFS reference 6 dBu = 860
      0,
      0,
      0,
      0,
      0,
      0,  // not edited by the editor
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,  // -38 dBu
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
      0x34,
      0x03,
  };
  EXPECT_EQ(areas.setup, expected);
  EXPECT_EQ(areas.startupProgram, 0);
}

TEST(SystemAreas, DisconnectDefaultsChangeOnlyTheSetupBlock) {
  SystemAreas areas;
  areas.applyStartupDefaults();
  areas.setup[SetupOffset::ModeBits] = 6;
  areas.setup[SetupOffset::ConferencePriority] = 0x81;
  areas.setup[18] = 0x42;
  areas.startupProgram = 12;
  areas.extended[0] = 9;

  areas.applyDisconnectDefaults();

  EXPECT_EQ(areas.setup[SetupOffset::ModeBits], 1);
  EXPECT_EQ(areas.setup[SetupOffset::ConferencePriority], 0);
  EXPECT_EQ(areas.setupWord(SetupOffset::ConferenceAttenuation), 512);
  EXPECT_EQ(areas.setupWord(SetupOffset::ConferenceCascadeAttenuation), 512);
  EXPECT_EQ(areas.setupWord(SetupOffset::DiscussionAttenuation), 400);
  EXPECT_EQ(areas.setupWord(SetupOffset::DiscussionCascadeAttenuation), 400);
  EXPECT_EQ(areas.setupWord(SetupOffset::DiscussionThresholds + 14), 820);
  EXPECT_EQ(areas.setup[18], 0x42);
  EXPECT_EQ(areas.startupProgram, 12);
  EXPECT_EQ(areas.extended[0], 9);
}

TEST(SystemAreas, StartUpCameraSettings) {
  SystemAreas areas;
  areas.applyStartupDefaults();
  const std::array<std::uint8_t, 23> expected = {1, 1, 1, 1, 1, 1, 1, 1, 1,  // presets, panoramic
                                                 1, 1, 1, 1, 1, 1, 1, 1, 1,  // camera IDs, panoramic
                                                 0, 0, 0, 0, 0};             // times, Pelco-D
  EXPECT_EQ(areas.extended, expected);
}

TEST(CameraCommandTable, PelcoMessagesCarryTheirChecksum) {
  const CameraCommands table = CameraCommands::defaults();
  for (int number = 0; number <= 12; ++number) {
    const auto message = table.message(CameraProtocol::PelcoD, number).view();
    ASSERT_EQ(message.size(), 7u) << number;
    EXPECT_EQ(message[0], 0xFF);
    EXPECT_EQ(message[1], 1);
    const int sum = std::accumulate(message.begin() + 1, message.begin() + 6, 0);
    EXPECT_EQ(message[6], sum % 256) << "message " << number;
  }
  for (int number = 13; number < CameraCommands::kMessages; ++number)
    EXPECT_EQ(table.message(CameraProtocol::PelcoD, number).length, 0);
}

TEST(CameraCommandTable, ViscaMessagesAreFramedAndSomeNumbersAreMissing) {
  const CameraCommands table = CameraCommands::defaults();
  for (int number : {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 13, 14, 15}) {
    const auto message = table.message(CameraProtocol::SonyVisca, number).view();
    ASSERT_GE(message.size(), 6u) << number;
    EXPECT_EQ(message.front(), 0x81);
    EXPECT_EQ(message.back(), 0xFF);
  }
  for (int number : {8, 9, 12}) EXPECT_EQ(table.message(CameraProtocol::SonyVisca, number).length, 0);
  EXPECT_EQ(table.message(CameraProtocol::SonyVisca, 0).length, 9);
  EXPECT_EQ(table.message(CameraProtocol::SonyVisca, 10).length, 7);
  EXPECT_THROW(table.message(CameraProtocol::PelcoD, 16), std::out_of_range);
}

}  // namespace
}  // namespace orvane
