#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "model/CameraSteering.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using CameraSteering::Button;
using Table = std::map<int, Bytes>;

Table tableOf(const CameraCommands& commands, CameraProtocol protocol) {
  Table table;
  for (int number = 0; number < CameraCommands::kMessages; ++number) {
    const auto view = commands.message(protocol, number).view();
    if (!view.empty()) table[number] = Bytes(view.begin(), view.end());
  }
  return table;
}

// The patched protocol's table is `expected`; the other protocol's is untouched.
void expectTables(const CameraCommands& commands, CameraProtocol patched, const Table& expected) {
  const CameraProtocol other =
      patched == CameraProtocol::PelcoD ? CameraProtocol::SonyVisca : CameraProtocol::PelcoD;
  EXPECT_EQ(tableOf(commands, patched), expected);
  EXPECT_EQ(tableOf(commands, other), tableOf(CameraCommands::defaults(), other));
}

// Camera ID, speed and preset as the steering fields show them.
std::array<int, 3> shown(const CameraCommands& commands, CameraProtocol protocol) {
  const auto fields = CameraSteering::fields(commands, protocol);
  return {fields.cameraId, fields.speed, fields.preset};
}

TEST(CameraSteering, PelcoMessagesTakeIdSpeedAndPresetWithTheirChecksums) {
  CameraCommands commands = CameraCommands::defaults();
  ASSERT_TRUE(CameraSteering::setCameraId(commands, CameraProtocol::PelcoD, 3));
  EXPECT_EQ(tableOf(commands, CameraProtocol::PelcoD)[0], (Bytes{0xFF, 0x03, 0x00, 0x08, 0x00, 0x20, 0x2B}));
  ASSERT_TRUE(CameraSteering::setSpeed(commands, CameraProtocol::PelcoD, 17));
  ASSERT_TRUE(CameraSteering::setPreset(commands, CameraProtocol::PelcoD, 5));

  // FF, address 3, command 1, command 2, data 1, data 2, sum of bytes 1-5
  const Table expected = {
      {0, {0xFF, 0x03, 0x00, 0x08, 0x00, 0x10, 0x1B}},   // tilt up, speed 17 - 1
      {1, {0xFF, 0x03, 0x00, 0x10, 0x00, 0x10, 0x23}},   // tilt down
      {2, {0xFF, 0x03, 0x00, 0x04, 0x10, 0x00, 0x17}},   // pan left
      {3, {0xFF, 0x03, 0x00, 0x02, 0x10, 0x00, 0x15}},   // pan right
      {4, {0xFF, 0x03, 0x00, 0x80, 0x00, 0x00, 0x83}},   // focus far
      {5, {0xFF, 0x03, 0x01, 0x00, 0x00, 0x00, 0x04}},   // focus near
      {6, {0xFF, 0x03, 0x00, 0x40, 0x00, 0x00, 0x43}},   // zoom wide
      {7, {0xFF, 0x03, 0x00, 0x20, 0x00, 0x00, 0x23}},   // zoom tele
      {8, {0xFF, 0x03, 0x04, 0x00, 0x00, 0x00, 0x07}},   // iris close
      {9, {0xFF, 0x03, 0x02, 0x00, 0x00, 0x00, 0x05}},   // iris open
      {10, {0xFF, 0x03, 0x00, 0x07, 0x00, 0x05, 0x0F}},  // go to preset 5
      {11, {0xFF, 0x03, 0x00, 0x03, 0x00, 0x05, 0x0B}},  // set preset 5
      {12, {0xFF, 0x03, 0x00, 0x00, 0x00, 0x00, 0x03}},  // stop
  };
  expectTables(commands, CameraProtocol::PelcoD, expected);
  EXPECT_EQ(shown(commands, CameraProtocol::PelcoD), (std::array{3, 17, 5}));
}

TEST(CameraSteering, ViscaMessagesTakeIdSpeedAndMemoryNumber) {
  CameraCommands commands = CameraCommands::defaults();
  ASSERT_TRUE(CameraSteering::setCameraId(commands, CameraProtocol::SonyVisca, 5));
  ASSERT_TRUE(CameraSteering::setSpeed(commands, CameraProtocol::SonyVisca, 24));
  ASSERT_TRUE(CameraSteering::setPreset(commands, CameraProtocol::SonyVisca, 5));

  // 0x80 + address 5, ..., 0xFF; pan speed 0x18 (24), tilt speed 0x14 (at most 20)
  const Table expected = {
      {0, {0x85, 0x01, 0x06, 0x01, 0x18, 0x14, 0x03, 0x01, 0xFF}},   // up
      {1, {0x85, 0x01, 0x06, 0x01, 0x18, 0x14, 0x03, 0x02, 0xFF}},   // down
      {2, {0x85, 0x01, 0x06, 0x01, 0x18, 0x14, 0x01, 0x03, 0xFF}},   // left
      {3, {0x85, 0x01, 0x06, 0x01, 0x18, 0x14, 0x02, 0x03, 0xFF}},   // right
      {13, {0x85, 0x01, 0x06, 0x01, 0x18, 0x14, 0x03, 0x03, 0xFF}},  // pan-tilt stop
      {4, {0x85, 0x01, 0x04, 0x08, 0x02, 0xFF}},                     // focus far
      {5, {0x85, 0x01, 0x04, 0x08, 0x03, 0xFF}},                     // focus near
      {14, {0x85, 0x01, 0x04, 0x08, 0x00, 0xFF}},                    // focus stop
      {6, {0x85, 0x01, 0x04, 0x07, 0x35, 0xFF}},                     // zoom wide
      {7, {0x85, 0x01, 0x04, 0x07, 0x25, 0xFF}},                     // zoom tele
      {15, {0x85, 0x01, 0x04, 0x07, 0x00, 0xFF}},                    // zoom stop
      {10, {0x85, 0x01, 0x04, 0x3F, 0x02, 0x04, 0xFF}},              // recall memory 4 (preset 5)
      {11, {0x85, 0x01, 0x04, 0x3F, 0x01, 0x04, 0xFF}},              // set memory 4
  };
  expectTables(commands, CameraProtocol::SonyVisca, expected);
  EXPECT_EQ(shown(commands, CameraProtocol::SonyVisca), (std::array{5, 24, 5}));

  ASSERT_TRUE(CameraSteering::setSpeed(commands, CameraProtocol::SonyVisca, 10));
  EXPECT_EQ(tableOf(commands, CameraProtocol::SonyVisca)[13][4], 0x0A);
  EXPECT_EQ(tableOf(commands, CameraProtocol::SonyVisca)[13][5], 0x0A);
}

TEST(CameraSteering, ReEnteringAValueChangesNothingAndValuesStayInRange) {
  CameraCommands commands = CameraCommands::defaults();
  EXPECT_EQ(shown(commands, CameraProtocol::PelcoD), (std::array{1, 33, 1}));
  EXPECT_EQ(shown(commands, CameraProtocol::SonyVisca),
            (std::array{1, 12, 2}));  // memory number 1 is preset 2
  EXPECT_FALSE(CameraSteering::setSpeed(commands, CameraProtocol::PelcoD, 33));
  EXPECT_FALSE(CameraSteering::setCameraId(commands, CameraProtocol::SonyVisca, 1));
  EXPECT_FALSE(CameraSteering::setPreset(commands, CameraProtocol::SonyVisca, 2));

  EXPECT_TRUE(CameraSteering::setCameraId(commands, CameraProtocol::SonyVisca, 9));
  EXPECT_EQ(CameraSteering::fields(commands, CameraProtocol::SonyVisca).cameraId, 7);
  EXPECT_FALSE(CameraSteering::setCameraId(commands, CameraProtocol::SonyVisca, 7));
  EXPECT_TRUE(CameraSteering::setSpeed(commands, CameraProtocol::PelcoD, 0));
  EXPECT_EQ(CameraSteering::fields(commands, CameraProtocol::PelcoD).speed, 1);
  EXPECT_TRUE(CameraSteering::setPreset(commands, CameraProtocol::PelcoD, 500));
  EXPECT_EQ(CameraSteering::fields(commands, CameraProtocol::PelcoD).preset, 128);

  const auto pelcoRanges = CameraSteering::ranges(CameraProtocol::PelcoD);
  const auto viscaRanges = CameraSteering::ranges(CameraProtocol::SonyVisca);
  EXPECT_EQ((std::array{pelcoRanges.cameraId.max, pelcoRanges.speed.max, pelcoRanges.preset.max}),
            (std::array{255, 64, 128}));
  EXPECT_EQ((std::array{viscaRanges.cameraId.max, viscaRanges.speed.max, viscaRanges.preset.max}),
            (std::array{7, 24, 128}));
  EXPECT_EQ(CameraSteering::protocolOf(0), CameraProtocol::PelcoD);
  EXPECT_EQ(CameraSteering::protocolOf(2), CameraProtocol::SonyVisca);
}

TEST(CameraSteering, ButtonsSendTheirMessageOnPressAndAStopOnRelease) {
  struct Row {
    Button button;
    int press, pelcoRelease, viscaRelease;  // -1: no such button with VISCA
  };
  const std::vector<Row> rows = {
      {Button::Up, 0, 12, 13},       {Button::Down, 1, 12, 13},     {Button::Left, 2, 12, 13},
      {Button::Right, 3, 12, 13},    {Button::FocusFar, 4, 12, 14}, {Button::FocusNear, 5, 12, 14},
      {Button::ZoomWide, 6, 12, 15}, {Button::ZoomTele, 7, 12, 15}, {Button::IrisClose, 8, 12, -1},
      {Button::IrisOpen, 9, 12, -1},
  };
  for (const Row& row : rows) {
    const auto pelco = CameraSteering::buttonMessages(row.button, CameraProtocol::PelcoD);
    ASSERT_TRUE(pelco) << row.press;
    EXPECT_EQ(pelco->press, row.press);
    EXPECT_EQ(pelco->release, row.pelcoRelease);
    const auto visca = CameraSteering::buttonMessages(row.button, CameraProtocol::SonyVisca);
    EXPECT_EQ(visca.has_value(), row.viscaRelease >= 0) << row.press;
    if (visca) {
      EXPECT_EQ((std::array{visca->press, visca->release}), (std::array{row.press, row.viscaRelease}));
    }
  }
  EXPECT_EQ(CameraSteering::messagesToSend(CameraProtocol::PelcoD, 10), (std::vector{10, 12}));
  EXPECT_EQ(CameraSteering::messagesToSend(CameraProtocol::PelcoD, 11), (std::vector{11, 12}));
  EXPECT_EQ(CameraSteering::messagesToSend(CameraProtocol::PelcoD, 0), (std::vector{0}));
  EXPECT_EQ(CameraSteering::messagesToSend(CameraProtocol::SonyVisca, 10), (std::vector{10}));
}

}  // namespace
}  // namespace orvane
