#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string_view>
#include <thread>
#include <vector>

#include "model/ParameterImage.h"

namespace orvane {
namespace {

// Input C (channel 2) as a freshly started editor holds it, byte by byte.
const InputBlock kDefaultInputC = {
    'C', 0, 0, 0, 0, 0, 0, 0,         // row 0: name
    1, 1, 0, 0, 0x2C, 0x01, 120, 0,   // row 1: mute on, polarity normal, delay 0, gain 300,
                                      // master 120
    0, 1, 9, 2, 80, 0, 0, 3,          // row 2: -, master feedback on, level 3, class 2 at 80,
                                      // gate off, link 3
    0, 0, 120, 0, 0, 0, 0, 0,         // row 3: input C -> output 3 only
    0, 0, 0, 0, 100, 0, 56, 1,        // row 4: AGC off, release 150 ms, attack 50 ms, 1:1
    0xF4, 0x01, 56, 0, 100, 0, 1, 0,  // row 5: compressor off
    20, 0, 0, 0, 0x20, 0x4E, 0, 0,    // row 6: crossover 20 Hz / 20000 Hz, L-R 12 dB
    39, 0, 0x90, 0x01, 25, 0, 0, 0,   // rows 7..14: EQ bands, flat, 0.30 oct, peaking
    79, 0, 0x90, 0x01, 25, 0, 0, 0, 158, 0, 0x90, 0x01, 25, 0, 0, 0, 0x3C, 0x01, 0x90, 0x01, 25, 0, 0,
    0,                                    // 316 Hz
    0x78, 0x02, 0x90, 0x01, 25, 0, 0, 0,  // 632 Hz
    0xED, 0x04, 0x90, 0x01, 25, 0, 0, 0,  // 1261 Hz
    0xD5, 0x09, 0x90, 0x01, 25, 0, 0, 0,  // 2517 Hz
    0x9F, 0x13, 0x90, 0x01, 25, 0, 0, 0,  // 5023 Hz
};

// Output 8 (channel 7).
const OutputBlock kDefaultOutput8 = {
    '8', 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0x2C, 0x01, 120, 0, 0xF4, 0x01, 56, 0, 100, 0, 0,
    88,                               // limiter off, attack 50 ms, release 150 ms,
                                      // link 88
    0xF4, 0x01, 56, 0, 100, 0, 1, 0,  // compressor off
    20, 0, 0, 0, 0x20, 0x4E, 0, 0,    // crossover
    40, 0, 0x90, 0x01, 25, 0, 0, 0,   // EQ bands
    80, 0, 0x90, 0x01, 25, 0, 0, 0, 160, 0, 0x90, 0x01, 25, 0, 0, 0, 0x3D, 0x01, 0x90, 0x01, 25, 0, 0,
    0,                                    // 317 Hz
    0x78, 0x02, 0x90, 0x01, 25, 0, 0, 0,  // 632 Hz
    0xED, 0x04, 0x90, 0x01, 25, 0, 0, 0,  // 1261 Hz
    0xD3, 0x09, 0x90, 0x01, 25, 0, 0, 0,  // 2515 Hz
    0x9A, 0x13, 0x90, 0x01, 25, 0, 0, 0,  // 5018 Hz
    0x10, 0x27, 0x90, 0x01, 25, 0, 0, 0,  // 10000 Hz
};

InputBlock inputBlock(const ParameterImage& image, int channel, Copy copy = Copy::Edited) {
  InputBlock block{};
  image.readBlock(Side::Input, channel, copy, block);
  return block;
}

OutputBlock outputBlock(const ParameterImage& image, int channel, Copy copy = Copy::Edited) {
  OutputBlock block{};
  image.readBlock(Side::Output, channel, copy, block);
  return block;
}

// Every changed row in the order the worker sends them.
std::vector<RowWrite> drainChangedRows(ParameterImage& image) {
  std::vector<RowWrite> rows;
  while (auto row = image.takeNextChangedRow()) rows.push_back(*row);
  return rows;
}

class RecordingListener : public ImageListener {
 public:
  void channelReloaded(Side side, int channel) override { reloads.push_back({side, channel}); }
  void channelCopied(Side side, int source, int destination) override {
    copies.push_back({side, source, destination});
  }
  struct Reload {
    Side side;
    int channel;
  };
  struct CopyEvent {
    Side side;
    int source, destination;
  };
  std::vector<Reload> reloads;
  std::vector<CopyEvent> copies;
};

TEST(ParameterImageDefaults, InputAndOutputBlocksMatchTheStartUpLayout) {
  ParameterImage image;
  EXPECT_EQ(inputBlock(image, 2), kDefaultInputC);
  EXPECT_EQ(outputBlock(image, 7), kDefaultOutput8);
  for (int n = 0; n < kChannels; ++n) {
    const InputBlock in = inputBlock(image, n);
    EXPECT_EQ(in[0], 'A' + n);
    EXPECT_EQ(image.field(Side::Input, n, InputField::LinkGroup), n + 1);
    for (int out = 0; out < kChannels; ++out)
      EXPECT_EQ(image.field(Side::Input, n, InputField::mix(out)), out == n ? 120 : 0);
    EXPECT_EQ(outputBlock(image, n)[0], '1' + n);
    EXPECT_EQ(image.field(Side::Output, n, OutputField::LinkGroup), 81 + n);
  }
}

TEST(ParameterImageDefaults, EditorStateProgramAndConnection) {
  ParameterImage image;
  image.read([](const ImageData& d) {
    EXPECT_EQ(d.editor.selectedPage, Page::Matrix);
    EXPECT_EQ(d.editor.selectedInput, 0);
    EXPECT_EQ(d.editor.inputMasterMemo, 120);
    EXPECT_EQ(d.editor.outputMasterMemo, 120);
    EXPECT_EQ(d.editor.classLevels[2], 80);
    EXPECT_EQ(d.editor.classLevels[1], 40);
    EXPECT_EQ(d.editor.classLevels[0], 0);
    for (int n = 0; n < kChannels; ++n) {
      EXPECT_EQ(d.editor.inputLinkGroups[n], n);
      EXPECT_EQ(d.editor.outputLinkGroups[n], n);
      EXPECT_FALSE(d.editor.inputCurveVisible[n]);
      for (int out = 0; out < kChannels; ++out) EXPECT_EQ(d.editor.crosspointMemo[n][out], 120);
    }
    const std::array<std::uint8_t, 16> null{'N', 'U', 'L', 'L'};
    EXPECT_EQ(d.currentProgramName, null);
    EXPECT_EQ(d.currentProgramNumber, 0);
    EXPECT_EQ(d.connection.linkType, LinkType::None);
    EXPECT_EQ(d.connection.deviceId, 0);
    EXPECT_EQ(d.connection.idTable[0], 1);
    EXPECT_EQ(d.connection.idTable[249], 250);
    for (const ProgramRecord& record : d.programs)
      for (std::uint8_t b : record) ASSERT_EQ(b, 0);
    for (std::uint8_t b : d.locks.bytes) ASSERT_EQ(b, 0);
    EXPECT_TRUE(d.locks.password.empty());
  });
}

TEST(ParameterImageRows, NothingIsSentAfterTheSnapshot) {
  ParameterImage image;
  image.takeDeviceSnapshot();
  EXPECT_TRUE(drainChangedRows(image).empty());
}

TEST(ParameterImageRows, InputsBeforeOutputsLowerChannelsAndRowsFirst) {
  ParameterImage image;
  image.takeDeviceSnapshot();
  image.setField(Side::Output, 0, OutputField::Gain, 310);
  image.setField(Side::Input, 5, InputField::Comp_Level, 400);  // row 5
  image.setField(Side::Input, 5, InputField::Gain, 250);        // row 1

  const auto rows = drainChangedRows(image);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].side, Side::Input);
  EXPECT_EQ(rows[0].channel, 5);
  EXPECT_EQ(rows[0].row, 1);
  EXPECT_EQ(rows[1].row, 5);
  EXPECT_EQ(rows[1].bytes, (Row{0x90, 0x01, 56, 0, 100, 0, 1, 0}));  // 400, 56, 100, 1:1
  EXPECT_EQ(rows[2].side, Side::Output);
  EXPECT_EQ(rows[2].channel, 0);
  EXPECT_EQ(rows[2].row, 1);
  EXPECT_EQ(image.row(Side::Output, 0, 1, Copy::Device), image.row(Side::Output, 0, 1));
  EXPECT_TRUE(drainChangedRows(image).empty());
}

TEST(ParameterImageRows, OneEditIsFoundOnceWhereverItLies) {
  // Unchanged sides and blocks are passed over in one comparison each: an
  // edit at either end of either side must still be found, and only once.
  struct Case {
    Side side;
    int channel;
    std::size_t offset;
  };
  for (const Case c :
       {Case{Side::Input, 0, 0}, Case{Side::Input, 7, kInputBlockSize - 1}, Case{Side::Output, 0, 0},
        Case{Side::Output, 4, 60}, Case{Side::Output, 7, kOutputBlockSize - 1}}) {
    ParameterImage image;
    image.takeDeviceSnapshot();
    image.modify([&](ImageData& d) { ++d.edited.block(c.side, c.channel)[c.offset]; });
    const auto rows = drainChangedRows(image);
    ASSERT_EQ(rows.size(), 1u) << "channel " << c.channel << " byte " << c.offset;
    EXPECT_EQ(rows[0].side, c.side);
    EXPECT_EQ(rows[0].channel, c.channel);
    EXPECT_EQ(rows[0].row, static_cast<int>(c.offset / kRowBytes));
  }
}

TEST(ParameterImageRows, EqualCopiesStillBringACompressorAboveTheLimiterDown) {
  ParameterImage image;
  image.setField(Side::Output, 6, OutputField::Lim_Threshold, 400);
  image.setField(Side::Output, 6, OutputField::Comp_Level, 450);
  image.takeDeviceSnapshot();

  const auto row = image.takeNextChangedRow();
  ASSERT_TRUE(row);
  EXPECT_EQ(row->side, Side::Output);
  EXPECT_EQ(row->channel, 6);
  EXPECT_EQ(row->row, OutputField::Comp_Level.row());
  EXPECT_EQ(image.field(Side::Output, 6, OutputField::Comp_Level, Copy::Device), 400);
}

TEST(ParameterImageRows, LoweredLimiterSendsTheLoweredCompressorRowFirst) {
  ParameterImage image;
  image.setField(Side::Output, 3, OutputField::Comp_Level, 450);
  image.takeDeviceSnapshot();
  // The user lowers the limiter to 400; the output page keeps the compressor
  // below it.
  image.setField(Side::Output, 3, OutputField::Lim_Threshold, 400);
  image.setField(Side::Output, 3, OutputField::Comp_Level, 400);

  const auto rows = drainChangedRows(image);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].row, 3);
  EXPECT_EQ(rows[0].bytes, (Row{0x90, 0x01, 56, 0, 100, 0, 1, 0}));
  EXPECT_EQ(rows[1].row, 2);
  EXPECT_EQ(rows[1].bytes, (Row{0x90, 0x01, 56, 0, 100, 0, 0, 84}));
}

TEST(ParameterImageRows, LoweredCompressorRowCarriesTheDeviceCopyNotTheEdits) {
  ParameterImage image;
  image.setField(Side::Output, 0, OutputField::Comp_Level, 480);
  image.takeDeviceSnapshot();
  image.setField(Side::Output, 0, OutputField::Lim_Threshold, 300);
  image.setField(Side::Output, 0, OutputField::Comp_Level, 200);
  image.setField(Side::Output, 0, OutputField::Comp_A, 10);

  const auto rows = drainChangedRows(image);
  ASSERT_EQ(rows.size(), 3u);
  // First the device's compressor comes down to the new threshold, with the
  // attack it still has; then the threshold; then the edited row 3.
  EXPECT_EQ(rows[0].bytes, (Row{0x2C, 0x01, 56, 0, 100, 0, 1, 0}));
  EXPECT_EQ(rows[1].row, 2);
  EXPECT_EQ(rows[2].row, 3);
  EXPECT_EQ(rows[2].bytes, (Row{200, 0, 10, 0, 100, 0, 1, 0}));
}

class ParameterImageRestore : public ::testing::Test {
 protected:
  void SetUp() override { image.takeDeviceSnapshot(); }
  void setDevice(Side side, int channel, Field f, int value) {
    image.setField(side, channel, f, value, Copy::Device);
  }
  ParameterImage image;
};

TEST_F(ParameterImageRestore, ClassLevelsAreNormalised) {
  setDevice(Side::Input, 3, InputField::LevelClass, 1);
  setDevice(Side::Input, 3, InputField::ClassLevel, 20);
  setDevice(Side::Input, 5, InputField::LevelClass, 0);
  setDevice(Side::Input, 5, InputField::ClassLevel, 30);
  setDevice(Side::Input, 6, InputField::ClassLevel, 50);  // class 2 is always 80
  setDevice(Side::Input, 7, InputField::LevelClass, 9);   // outside the classes: left alone
  setDevice(Side::Input, 7, InputField::ClassLevel, 33);
  image.restoreFromDeviceCopy();

  EXPECT_EQ(image.field(Side::Input, 3, InputField::ClassLevel), 30);
  EXPECT_EQ(image.field(Side::Input, 5, InputField::ClassLevel), 30);
  EXPECT_EQ(image.field(Side::Input, 6, InputField::ClassLevel), 80);
  EXPECT_EQ(image.field(Side::Input, 7, InputField::ClassLevel), 33);
  image.read([](const ImageData& d) {
    EXPECT_EQ(d.editor.classLevels[0], 30);
    EXPECT_EQ(d.editor.classLevels[1], 30);
    EXPECT_EQ(d.editor.classLevels[2], 80);
  });
}

TEST_F(ParameterImageRestore, LaterInputOverridesEarlierInTheSameClass) {
  setDevice(Side::Input, 1, InputField::LevelClass, 1);
  setDevice(Side::Input, 1, InputField::ClassLevel, 60);
  setDevice(Side::Input, 4, InputField::LevelClass, 1);
  setDevice(Side::Input, 4, InputField::ClassLevel, 50);
  image.restoreFromDeviceCopy();
  EXPECT_EQ(image.field(Side::Input, 1, InputField::ClassLevel), 50);
  EXPECT_EQ(image.field(Side::Input, 4, InputField::ClassLevel), 50);
}

TEST_F(ParameterImageRestore, MemosFollowTheDeviceValues) {
  for (int n = 0; n < kChannels; ++n) setDevice(Side::Input, n, InputField::Allvolume, 0);
  for (int n = 0; n < kChannels; ++n) setDevice(Side::Output, n, OutputField::Allvolume, 300);
  setDevice(Side::Input, 2, InputField::mix(2), 0);
  setDevice(Side::Input, 2, InputField::mix(6), 77);
  image.restoreFromDeviceCopy();

  image.read([](const ImageData& d) {
    EXPECT_EQ(d.editor.inputMasterMemo, 120);
    EXPECT_EQ(d.editor.outputMasterMemo, 300);
    EXPECT_EQ(d.editor.crosspointMemo[2][2], 120);
    EXPECT_EQ(d.editor.crosspointMemo[2][6], 77);
    EXPECT_EQ(d.editor.crosspointMemo[2][0], 120);
    EXPECT_EQ(d.edited, d.device);
  });
}

TEST_F(ParameterImageRestore, RestoreReplacesEditsAndReloadsEveryChannel) {
  RecordingListener listener;
  image.setListener(&listener);
  image.setField(Side::Input, 0, InputField::Gain, 100);
  setDevice(Side::Output, 4, OutputField::Delay, 1470);
  image.restoreFromDeviceCopy();
  EXPECT_EQ(image.field(Side::Input, 0, InputField::Gain), 300);
  EXPECT_EQ(image.field(Side::Output, 4, OutputField::Delay), 1470);
  EXPECT_EQ(listener.reloads.size(), 16u);
  image.setListener(nullptr);
}

class ParameterImageCopy : public ::testing::Test {
 protected:
  ParameterImage image;
};

TEST_F(ParameterImageCopy, InputCopyTakesProcessingButNotIdentity) {
  image.takeDeviceSnapshot();
  RecordingListener listener;
  image.setListener(&listener);
  InputBlock source = inputBlock(image, 2);
  for (std::size_t i = 8; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 3 + 1);
  image.writeBlock(Side::Input, 2, Copy::Edited, source);
  const InputBlock before = inputBlock(image, 6);

  image.copyInputChannel(2, 6);

  const InputBlock after = inputBlock(image, 6);
  for (std::size_t i = 0; i < after.size(); ++i) {
    const bool kept = i <= 8 || i == 16 || (i >= 23 && i <= 31) || i == 47;
    EXPECT_EQ(after[i], kept ? before[i] : source[i]) << "byte " << i;
  }
  EXPECT_EQ(image.crossover(Side::Input, 6), image.crossover(Side::Input, 2));
  EXPECT_EQ(inputBlock(image, 6, Copy::Device), after);
  ASSERT_EQ(listener.copies.size(), 1u);
  EXPECT_EQ(listener.copies[0].source, 2);
  EXPECT_EQ(listener.copies[0].destination, 6);
  image.setListener(nullptr);
}

TEST_F(ParameterImageCopy, InputCopyRebuildsTheDestinationMemo) {
  image.setField(Side::Input, 6, InputField::mix(1), 40);
  image.setField(Side::Input, 6, InputField::mix(6), 0);
  image.copyInputChannel(2, 6);
  image.read([](const ImageData& d) {
    EXPECT_EQ(d.editor.crosspointMemo[6][1], 40);
    EXPECT_EQ(d.editor.crosspointMemo[6][6], 120);
  });
}

TEST_F(ParameterImageCopy, OutputCopyTakesProcessingButNotIdentity) {
  OutputBlock source = outputBlock(image, 1);
  for (std::size_t i = 8; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(200 - i);
  image.writeBlock(Side::Output, 1, Copy::Edited, source);
  const OutputBlock before = outputBlock(image, 4);

  image.copyOutputChannel(1, 4);

  const OutputBlock after = outputBlock(image, 4);
  for (std::size_t i = 0; i < after.size(); ++i) {
    const bool kept = i <= 8 || i == 22 || i == 23 || i == 31;
    EXPECT_EQ(after[i], kept ? before[i] : source[i]) << "byte " << i;
  }
  EXPECT_EQ(outputBlock(image, 4, Copy::Device), after);
}

TEST(ParameterImageReset, DisconnectResetRestoresChannelsAndKeepsSelection) {
  ParameterImage image;
  InputBlock damaged{};
  damaged.fill(0xAA);
  image.writeBlock(Side::Input, 2, Copy::Edited, damaged);
  image.setField(Side::Output, 7, OutputField::Gain, 0);
  image.modify([](ImageData& d) {
    d.editor.selectedPage = Page::Output;
    d.editor.selectedOutput = 5;
    d.editor.inputLinkGroups[3] = 0;
    d.editor.crosspointMemo[1][1] = 10;
    d.editor.inputMasterMemo = 300;
    d.editor.classLevels = {5, 6, 7};
    d.locks.setLocked(LockFlag::InputEq, true);
    d.locks.deviceLock[3] = 1;
    d.locks.password = "secret";
    d.connection.linkType = LinkType::Network;
    d.system.setup[1] = 11;
    d.system.setup[16] = 0x5A;  // not edited by the editor: kept
  });

  image.disconnectReset();

  InputBlock expected = kDefaultInputC;
  for (std::size_t reserved : {16u, 21u, 47u}) expected[reserved] = 0xAA;  // reserved bytes stay
  EXPECT_EQ(inputBlock(image, 2), expected);
  EXPECT_EQ(outputBlock(image, 7), kDefaultOutput8);
  image.read([](const ImageData& d) {
    EXPECT_EQ(d.editor.selectedPage, Page::Output);
    EXPECT_EQ(d.editor.selectedOutput, 5);
    EXPECT_EQ(d.editor.inputLinkGroups[3], 3);
    EXPECT_EQ(d.editor.crosspointMemo[1][1], 120);
    EXPECT_EQ(d.editor.inputMasterMemo, 120);
    EXPECT_EQ(d.editor.classLevels[2], 80);
    EXPECT_FALSE(d.locks.isLocked(LockFlag::InputEq));
    EXPECT_EQ(d.locks.deviceLock[3], 0);
    EXPECT_TRUE(d.locks.password.empty());
    EXPECT_EQ(d.connection.linkType, LinkType::None);
    EXPECT_EQ(d.system.setup[1], 0);
    EXPECT_EQ(d.system.setupWord(SetupOffset::ConferenceAttenuation), 512);
    EXPECT_EQ(d.system.setup[16], 0x5A);
  });
}

TEST(ParameterImageAccess, SharedMasterValuesGoIntoAllBlocks) {
  ParameterImage image;
  image.setFieldOnAllChannels(Side::Input, InputField::All_Feedback, 0);
  image.setFieldOnAllChannels(Side::Output, OutputField::Allvolume, 720);
  for (int n = 0; n < kChannels; ++n) {
    EXPECT_EQ(image.field(Side::Input, n, InputField::All_Feedback), 0);
    EXPECT_EQ(image.field(Side::Output, n, OutputField::Allvolume), 720);
    EXPECT_EQ(image.field(Side::Input, n, InputField::Allvolume), 120);
  }
}

TEST(ParameterImageAccess, WordsAreSignedLittleEndian) {
  ParameterImage image;
  image.setField(Side::Input, 0, InputField::Delay, 1470);
  EXPECT_EQ(image.row(Side::Input, 0, 1)[2], 0xBE);
  EXPECT_EQ(image.row(Side::Input, 0, 1)[3], 0x05);
  image.setField(Side::Input, 0, InputField::Delay, -2);
  EXPECT_EQ(image.field(Side::Input, 0, InputField::Delay), -2);
}

TEST(ParameterImageAccess, BandsAndCrossoverAreTypedRecords) {
  ParameterImage image;
  EqBand band = image.band(Side::Output, 2, 8);
  EXPECT_EQ(band.FQCY, 10000);
  band.Gain = 460;
  band.Type = 2;
  image.setBand(Side::Output, 2, 8, band);
  EXPECT_EQ(image.row(Side::Output, 2, 13), (Row{0x10, 0x27, 0xCC, 0x01, 25, 0, 0, 2}));

  CrossoverPair pair = image.crossover(Side::Input, 1);
  pair.XFQCY_Lo = 100;
  pair.XMode_Hi = 1;
  pair.XSLope_Hi = 6;
  image.setCrossover(Side::Input, 1, pair);
  EXPECT_EQ(image.row(Side::Input, 1, 6), (Row{100, 0, 0, 0, 0x20, 0x4E, 1, 6}));
}

TEST(ParameterImageAccess, OutOfRangeAddressesAreRefused) {
  ParameterImage image;
  EXPECT_THROW(image.field(Side::Input, 8, InputField::Gain), std::out_of_range);
  EXPECT_THROW(image.band(Side::Input, 0, 8), std::out_of_range);
  EXPECT_NO_THROW(image.band(Side::Output, 0, 8));
  EXPECT_THROW(image.row(Side::Output, 0, 14), std::out_of_range);
  std::array<std::uint8_t, 112> wrongSize{};
  EXPECT_THROW(image.writeBlock(Side::Input, 0, Copy::Edited, wrongSize), std::length_error);
}

// Nothing that points into the image gets out of its lock: a reference, a
// pointer or an iterator, a span or a string view as the callable's result
// is refused when the program is compiled.
template <class F>
concept ReadAccepts = requires(const ParameterImage& image, F f) {
  image.read(f);
};
template <class F>
concept ModifyAccepts = requires(ParameterImage& image, F f) {
  image.modify(f);
};

static_assert(ReadAccepts<decltype([](const ImageData& d) { return d.currentProgramName; })>);
static_assert(ReadAccepts<decltype([](const ImageData& d) { return d.system.networkName; })>);
static_assert(ModifyAccepts<decltype([](ImageData& d) { d.currentProgramNumber = 1; })>);
static_assert(
    !ReadAccepts<decltype([](const ImageData& d) -> const int& { return d.currentProgramNumber; })>);
static_assert(!ReadAccepts<decltype([](const ImageData& d) { return &d.currentProgramNumber; })>);
static_assert(!ReadAccepts<decltype([](const ImageData& d) { return d.currentProgramName.begin(); })>);
static_assert(!ReadAccepts<decltype([](const ImageData& d) { return d.edited.block(Side::Input, 0); })>);
static_assert(
    !ReadAccepts<decltype([](const ImageData& d) { return std::string_view(d.system.networkName); })>);
static_assert(!ReadAccepts<decltype([](const ImageData& d) { return std::cref(d.editor); })>);
static_assert(!ModifyAccepts<decltype([](ImageData& d) -> ImageData& { return d; })>);
static_assert(!ModifyAccepts<decltype([](ImageData& d) { return d.edited.block(Side::Output, 7); })>);

// The user-interface thread edits while the worker compares: every edit must
// reach the device copy, and the build must stay clean under ThreadSanitizer.
TEST(ParameterImageThreads, EditsDuringComparisonAreFoundOnALaterPass) {
  ParameterImage image;
  image.takeDeviceSnapshot();
  std::atomic<bool> editing{true};
  std::thread worker([&] {
    while (editing.load()) image.takeNextChangedRow(Side::Input);
  });
  for (int value = 0; value <= 420; ++value)
    image.setField(Side::Input, value % kChannels, InputField::Gain, value);
  editing = false;
  worker.join();
  drainChangedRows(image);
  image.read([](const ImageData& d) { EXPECT_EQ(d.edited, d.device); });
}

}  // namespace
}  // namespace orvane
