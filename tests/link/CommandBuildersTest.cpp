#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "link/Command.h"
#include "model/CameraSteering.h"
#include "support/RecordingNotifier.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes wire(const SendData& frame) {
  return {frame.wire().begin(), frame.wire().end()};
}

class CommandBuildersTest : public ::testing::Test {
 protected:
  std::vector<SendData> takeAll() {
    std::vector<SendData> frames;
    SendData frame;
    while (command.queue().takeNext(frame)) frames.push_back(frame);
    return frames;
  }
  void setLink(LinkType link, int deviceId = 0) {
    image.modify([&](ImageData& d) {
      d.connection.linkType = link;
      d.connection.deviceId = deviceId;
    });
  }

  ParameterImage image;
  RecordingNotifier notifier;
  Command command{image, notifier};
  CommandBuilders& builders = command.builders();
};

TEST_F(CommandBuildersTest, LevelReadOnUsbIsTwentyFourBytes) {
  builders.RequestSystemItem(LinkType::Usb, 0, 3);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 1u);
  const std::uint8_t nonce = frames[0].at(6);
  EXPECT_LE(nonce, 100);
  const Bytes expected = {
      0x5A,
      0x5A,
      0x5A,
      0x88,   // sync, start
      0xA2,   // read
      0x02,   // USB
      nonce,  //
      0x00,   // no device ID off the bus
      0x00,   // working state
      0x03,   // system item
      0x03,   // item 3: levels
      0x00,
      0x00,  // row, reserved
      0x08,  // eight payload bytes
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,                                        //
      static_cast<std::uint8_t>(0xA8 ^ nonce),  // A2^02^03^03^08 = A8, then the nonce
      0xAA,
  };
  EXPECT_EQ(wire(frames[0]), expected);
  EXPECT_TRUE(frames[0].ready);
  EXPECT_FALSE(frames[0].showProgress);
}

TEST_F(CommandBuildersTest, ProgramOperationIsTwentyEightBytesOnTheBus) {
  setLink(LinkType::Serial, 7);
  builders.SendProgramOp(LinkType::Serial, ProgramOp::ReadStoredLocks, 5, false);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 1u);
  const std::uint8_t n = frames[0].at(6);
  const Bytes expected = {
      0x5A,
      0x5A,
      0x5A,
      0x88,
      0xA9,  // program operation
      0x01,  // RS-485
      n,
      0x07,  // device 7
      0x05,  // program 5
      0xB1,  // read the stored lock packet
      0x00,
      0x00,
      0x00,
      0x0C,  // twelve bytes
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      static_cast<std::uint8_t>(0xA9 ^ 0x01 ^ 0x07 ^ 0x05 ^ 0xB1 ^ 0x0C ^ n),
      0xAA,
  };
  EXPECT_EQ(wire(frames[0]), expected);
}

TEST_F(CommandBuildersTest, LockWriteCarriesThePacketOnlyWhenAsked) {
  image.modify([](ImageData& d) {
    d.locks.setLocked(LockFlag::InputGain, true);
    d.locks.setLocked(LockFlag::OutputMute, true);
    d.locks.password = "ab12";
  });
  builders.SendProgramOp(LinkType::Network, ProgramOp::WriteLocks, 3, true);
  builders.SendProgramOp(LinkType::Network, ProgramOp::WriteLocks, 3, false);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 2u);
  const Bytes packet = {0x08, 0x00, 0x02, 0x00, 0x00, 0x00, 'a', 'b', '1', '2', ' ', ' '};
  EXPECT_EQ(Bytes(frames[0].payload().begin(), frames[0].payload().end()), packet);
  EXPECT_EQ(Bytes(frames[1].payload().begin(), frames[1].payload().end()), Bytes(12, 0));
}

TEST_F(CommandBuildersTest, ProgressDrivingReadAndNetworkNameRead) {
  builders.RequestSystemItem(LinkType::Network, 0, 51, 7);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 1u);
  const std::uint8_t n = frames[0].at(6);
  const Bytes expected = {
      0x5A,
      0x5A,
      0x5A,
      0x88,  // sync, start
      0xA2,
      0x03,
      n,  // read, network, nonce
      0x00,
      0x00,  // device ID, value
      0x03,
      0x33,  // system item 51: network name
      0x00,
      0x00,
      0x08,  // row, reserved, length 8
      0,
      0,
      0,
      0,
      0,
      0,
      0,
      0,  //
      static_cast<std::uint8_t>(0xA2 ^ 0x03 ^ 0x03 ^ 0x33 ^ 0x08 ^ n),
      0xAA,
  };
  EXPECT_EQ(wire(frames[0]), expected);
  EXPECT_TRUE(frames[0].showProgress);
  EXPECT_EQ(frames[0].progressPos, 7);
  EXPECT_EQ(frames[0].replyKind, ReplyKind::NetworkNameRead);
}

TEST_F(CommandBuildersTest, ViscaMessageLengthsByKind) {
  const std::vector<std::pair<int, std::size_t>> lengths = {
      {0, 9},  {1, 9},  {2, 9},  {3, 9},  {13, 9}, {4, 6}, {5, 6},  {6, 6},  {7, 6},
      {14, 6}, {15, 6}, {10, 7}, {11, 7}, {8, 0},  {9, 0}, {12, 0}, {16, 0}, {-1, 0}};
  for (const auto& [kind, length] : lengths) builders.SendPresetRowEx(LinkType::Usb, kind);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), lengths.size());
  for (std::size_t i = 0; i < lengths.size(); ++i)
    EXPECT_EQ(frames[i].length(), lengths[i].second) << lengths[i].first;
  EXPECT_EQ(Bytes(frames[12].payload().begin(), frames[12].payload().end()),
            (Bytes{0x81, 0x01, 0x04, 0x3F, 0x01, 0x01, 0xFF}));  // memory set
}

TEST_F(CommandBuildersTest, OutputBlockWrite) {
  image.setField(Side::Output, 5, OutputField::Lim_Threshold, 321);
  builders.SendOutputBlock(LinkType::Network, 5);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 1u);
  const SendData& f = frames[0];
  EXPECT_EQ(f.wireSize(), 128u);
  EXPECT_EQ((Bytes{f.at(4), f.at(5), f.at(9), f.at(10), f.at(11), f.at(13)}),
            (Bytes{0xA1, 0x03, 0x02, 0x05, 0x00, 112}));  // write, network, output block 5, row 0, 112 bytes
  EXPECT_EQ(f.payload()[16], 0x41);                       // 321 = 0x0141
  EXPECT_EQ(f.payload()[17], 0x01);
  EXPECT_EQ(f.payload()[0], '6');
  EXPECT_EQ(f.at(14 + 112), f.computeChecksum());
}

TEST_F(CommandBuildersTest, NewDeviceIdIsAddressedToTheOldOne) {
  setLink(LinkType::Serial, 4);
  builders.SendDeviceId(LinkType::Serial, FrameCode::CmdWrite, 9);
  builders.SendDeviceId(LinkType::Serial, FrameCode::CmdRead, 17);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].at(7), 4);    // the device still answers to 4
  EXPECT_EQ(frames[0].at(10), 21);  // item 21
  EXPECT_EQ(frames[0].payload()[0], 9);
  EXPECT_EQ(image.read([](const ImageData& d) { return d.connection.deviceId; }), 9);
  // The probe goes to the probed ID and carries it as its progress.
  EXPECT_EQ(frames[1].cmd(), 0xA2);
  EXPECT_EQ(frames[1].at(7), 17);
  EXPECT_TRUE(frames[1].idProbe);
  EXPECT_TRUE(frames[1].showProgress);
  EXPECT_EQ(frames[1].progressPos, 17);
}

TEST_F(CommandBuildersTest, WholeStateReadCountsProgressAndMarksItsEnd) {
  int counter = 5;
  builders.RequestAllBlocks(LinkType::Usb, 0, counter, 0);
  auto frames = takeAll();
  ASSERT_EQ(frames.size(), 16u);
  EXPECT_EQ(counter, 21);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(frames[i].block(), i < 8 ? 1 : 2);
    EXPECT_EQ(frames[i].item(), i % 8);
    EXPECT_EQ(frames[i].progressPos, 5 + i);
    EXPECT_TRUE(frames[i].showProgress);
    EXPECT_EQ(frames[i].lastOfTransfer, i == 15);
  }

  counter = 0;
  builders.RequestAllBlocks(LinkType::Usb, 29, counter, 119);
  frames = takeAll();
  for (const SendData& frame : frames) EXPECT_FALSE(frame.lastOfTransfer);
  builders.RequestAllBlocks(LinkType::Usb, 30, counter, 119);
  frames = takeAll();
  EXPECT_TRUE(frames.back().lastOfTransfer);
  EXPECT_EQ(frames.back().row(), 119);
  EXPECT_EQ(frames.back().value(), 30);
}

TEST_F(CommandBuildersTest, ProgramStoreTransferSendsTheStoredRecord) {
  image.modify([](ImageData& d) { recordBlock(d.programs[6], Side::Output, 2)[0] = 'Q'; });
  int counter = 0;
  builders.SendAllBlocks(LinkType::Network, 7, counter, 119);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 16u);
  EXPECT_EQ(frames[0].length(), 120u);
  EXPECT_EQ(frames[10].length(), 112u);
  EXPECT_EQ(frames[10].payload()[0], 'Q');
  EXPECT_EQ(frames[10].wireSize(), 128u);
}

TEST_F(CommandBuildersTest, BlocksAndRowsComeFromTheEditedImage) {
  image.setField(Side::Input, 3, InputField::Gain, 0x0155);
  builders.SendInputBlock(LinkType::Serial, 3);
  builders.SendOutputRow(LinkType::Usb, 6, 13);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].wireSize(), 136u);
  EXPECT_EQ(frames[0].payload()[12], 0x55);
  EXPECT_EQ(frames[0].payload()[13], 0x01);
  EXPECT_EQ(frames[1].row(), 13);
  EXPECT_EQ(frames[1].length(), 8u);
  EXPECT_EQ(frames[1].payload()[0], 0x10);  // band 9 at 10000 Hz
  EXPECT_EQ(frames[1].payload()[1], 0x27);
}

TEST_F(CommandBuildersTest, SystemItemPayloads) {
  image.modify([](ImageData& d) {
    d.system.startupProgram = 12;
    recordName(d.programs[1])[0] = 'M';
  });
  builders.SendSystemItemFrame(LinkType::Usb, 0, 51);  // no network name yet
  builders.SendSystemItemFrame(LinkType::Usb, 0, 24);
  builders.SendSystemItemFrame(LinkType::Usb, 2, 0);
  builders.SendSystemItemFrame(LinkType::Usb, 0, 52);
  builders.SendSystemItemFrame(LinkType::Usb, 0, 49);
  builders.SendSystemItemFrame(LinkType::Usb, 0, 3);  // no payload of its own
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 6u);
  EXPECT_EQ(frames[0].wireSize(), 16u);
  EXPECT_EQ(frames[0].replyKind, ReplyKind::NetworkNameWrite);
  EXPECT_EQ(frames[0].at(14), frames[0].computeChecksum());
  EXPECT_EQ(frames[0].at(15), 0xAA);
  EXPECT_EQ(Bytes(frames[1].payload().begin(), frames[1].payload().end()), (Bytes{12, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(frames[2].length(), 16u);
  EXPECT_EQ(frames[2].payload()[0], 'M');
  EXPECT_EQ(frames[3].length(), 54u);
  EXPECT_EQ(frames[3].payload()[0], 1);
  EXPECT_EQ(frames[4].replyKind, ReplyKind::NetworkFactoryReset);
  EXPECT_EQ(frames[5].length(), 8u);
}

TEST_F(CommandBuildersTest, CameraMessagesFollowTheProtocol) {
  setLink(LinkType::Usb);
  command.SendPresetData(10);
  auto frames = takeAll();
  ASSERT_EQ(frames.size(), 2u);  // go to preset, then stop
  EXPECT_EQ(Bytes(frames[0].payload().begin(), frames[0].payload().end()),
            (Bytes{0xFF, 0x01, 0x00, 0x07, 0x00, 0x01, 0x09}));
  EXPECT_EQ(frames[1].payload()[3], 0x00);
  EXPECT_EQ(frames[1].at(10), 54);

  image.modify([](ImageData& d) { d.system.extended[ExtendedOffset::Protocol] = 1; });
  command.SendPresetData(0);
  command.SendPresetData(12);  // VISCA has no message 12
  frames = takeAll();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].length(), 9u);
  EXPECT_EQ(frames[1].length(), 0u);
}

// Steering sends the table as patched: one item-54 frame per message.
TEST_F(CommandBuildersTest, PatchedCameraMessagesGoOutAsTheyStand) {
  setLink(LinkType::Usb);
  image.modify([](ImageData& d) {
    CameraSteering::setCameraId(d.system.camera, CameraProtocol::PelcoD, 3);
    CameraSteering::setPreset(d.system.camera, CameraProtocol::PelcoD, 5);
    CameraSteering::setPreset(d.system.camera, CameraProtocol::SonyVisca, 5);
  });
  command.SendPresetData(11);
  command.SendPresetData(16);  // no such message: an empty one, no exception
  auto frames = takeAll();
  ASSERT_EQ(frames.size(), 3u);
  const std::uint8_t n = frames[0].at(6);
  // sync, start | write, USB, nonce | ID 0, value 0, system item 54, row, reserved, length 7 |
  // Pelco-D set preset 5 on camera 3 | checksum A1^02^03^36^07^FF^03^03^05^0B = 60, then the nonce | end
  const Bytes setPreset = {
      0x5A, 0x5A, 0x5A, 0x88, 0xA1, 0x02, n,    0x00, 0x00, 0x03, 0x36,
      0x00, 0x00, 0x07, 0xFF, 0x03, 0x00, 0x03, 0x00, 0x05, 0x0B, static_cast<std::uint8_t>(0x60 ^ n),
      0xAA};
  EXPECT_EQ(wire(frames[0]), setPreset);
  EXPECT_EQ(Bytes(frames[1].payload().begin(), frames[1].payload().end()),
            (Bytes{0xFF, 0x03, 0x00, 0x00, 0x00, 0x00, 0x03}));  // stop, camera 3
  EXPECT_EQ(frames[2].length(), 0u);

  image.modify([](ImageData& d) { d.system.extended[ExtendedOffset::Protocol] = 1; });
  command.SendPresetData(10);
  frames = takeAll();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].at(10), 54);
  EXPECT_EQ(Bytes(frames[0].payload().begin(), frames[0].payload().end()),
            (Bytes{0x81, 0x01, 0x04, 0x3F, 0x02, 0x04, 0xFF}));  // recall memory 4
}

TEST_F(CommandBuildersTest, EditorOperationsNeedAnOpenLink) {
  EXPECT_FALSE(command.RecallProgram(3));
  EXPECT_FALSE(command.StoreProgram(3));
  EXPECT_FALSE(command.SendSystemItem(0, 24));
  EXPECT_FALSE(command.SendWholeInput(0));
  EXPECT_TRUE(command.queue().isEmpty());
}

TEST_F(CommandBuildersTest, StoringTheWorkingStateMutesItWhileItIsStored) {
  setLink(LinkType::Network);
  image.takeDeviceSnapshot();
  image.setField(Side::Input, 1, InputField::Mute, 0);  // input B muted on the device too
  image.setField(Side::Input, 1, InputField::Mute, 0, Copy::Device);
  ASSERT_TRUE(command.StoreProgram(0));
  const auto frames = takeAll();
  // name, locks of program 0 and of the lock set, 16 mute rows, 16 blocks, 16 mute rows
  ASSERT_EQ(frames.size(), 2u + 1u + 16u + 16u + 16u);
  EXPECT_EQ(frames[1].block(), 0xA2);
  EXPECT_EQ(frames[1].value(), 0);
  EXPECT_EQ(frames[2].value(), 31);
  for (int i = 3; i < 19; ++i) {
    EXPECT_EQ(frames[i].row(), 1);
    EXPECT_EQ(frames[i].payload()[0], 0) << "mute row " << i;
  }
  for (int i = 19; i < 35; ++i) EXPECT_EQ(frames[i].payload()[8], 0) << "block " << i;
  EXPECT_TRUE(frames[34].lastOfTransfer);
  EXPECT_EQ(frames[35 + 0].payload()[0], 1);  // input A sounds again
  EXPECT_EQ(frames[35 + 1].payload()[0], 0);  // input B stays muted
  EXPECT_EQ(image.field(Side::Output, 7, OutputField::Mute), 1);
  EXPECT_EQ(notifier.transferStates(), std::vector<bool>{true});
}

TEST_F(CommandBuildersTest, FullReadAfterConnecting) {
  setLink(LinkType::Usb);
  command.ReadDeviceSettings();
  command.RecallProgram(0);
  const auto frames = takeAll();
  ASSERT_EQ(frames.size(), 3u + 31u + 3u + 2u + 16u);
  EXPECT_EQ(frames[0].item(), 204);
  EXPECT_EQ(frames[1].item(), 4);
  EXPECT_EQ(frames[2].item(), 51);
  EXPECT_EQ(frames[2].replyKind, ReplyKind::NetworkNameRead);
  for (int program = 0; program <= 30; ++program) EXPECT_EQ(frames[3 + program].value(), program);
  EXPECT_EQ(frames[34].item(), 24);
  EXPECT_EQ(frames[35].item(), 52);
  EXPECT_EQ(frames[36].item(), 53);
  EXPECT_EQ(frames[37].block(), 0xA1);
  EXPECT_EQ(frames[38].value(), 31);
  EXPECT_TRUE(frames.back().lastOfTransfer);
  EXPECT_TRUE(frames[0].startsConnectionCheck);
  EXPECT_EQ(std::ranges::count_if(frames, [](const SendData& f) { return f.startsConnectionCheck; }), 1);
  // The check starts when the worker takes its frame, not when it is queued.
  EXPECT_FALSE(command.connectionCheck().pending());
}

}  // namespace
}  // namespace orvane
