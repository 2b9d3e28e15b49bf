#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Scales.h"
#include "model/ValueScales.h"

namespace orvane::ValueScales {
namespace {

struct Reading {
  const ParameterScale& scale;
  int code;
  const char* text;
};

TEST(ValueScales, LevelTextsAtTheEndsAndSpecialCodesOfEveryScale) {
  const std::vector<Reading> readings = {
      {Scales::kChannelGain, 0, "-30.0dB"},  // lowest gain is a level, not off
      {Scales::kChannelGain, 299, "-0.1dB"},
      {Scales::kChannelGain, 300, "0.0dB"},
      {Scales::kChannelGain, 420, "12.0dB"},
      {Scales::kMasterLevel, 0, "OFF"},
      {Scales::kMasterLevel, 1, "-59.9dB"},
      {Scales::kMasterLevel, 600, "0.0dB"},
      {Scales::kMasterLevel, 720, "12.0dB"},
      {Scales::kMixLevel, 0, "OFF"},
      {Scales::kMixLevel, 1, "-60dB"},  // -59.5 dB, halves away from zero
      {Scales::kMixLevel, 2, "-59dB"},
      {Scales::kMixLevel, 117, "-2dB"},  // -1.5 dB
      {Scales::kMixLevel, 119, "-1dB"},  // -0.5 dB must not read "-0dB"
      {Scales::kMixLevel, 120, "0dB"},
      {Scales::kEqGain, 0, "-40.0dB"},
      {Scales::kEqGain, 399, "-0.1dB"},
      {Scales::kEqGain, 400, "0.0dB"},
      {Scales::kEqGain, 600, "20.0dB"},
      {Scales::kOctaves, 0, "0.05oct"},
      {Scales::kOctaves, 95, "1.00oct"},
      {Scales::kOctaves, 295, "3.00oct"},
      {Scales::kFrequency, 20, "20Hz"},
      {Scales::kFrequency, 20000, "20000Hz"},
      {Scales::kNoiseGate, 0, "OFF"},
      {Scales::kNoiseGate, 1, "-119dBu"},
      {Scales::kNoiseGate, 120, "0dBu"},
      {Scales::kNoiseGate, 130, "10dBu"},
      {Scales::kAgcLevel, 0, "OFF"},
      {Scales::kAgcLevel, 1, "-79.9dB"},
      {Scales::kAgcLevel, 800, "0.0dB"},
      {Scales::kAgcLevel, 1000, "20.0dB"},
      {Scales::kInputCompressorLevel, 0, "-30.0dB"},
      {Scales::kInputCompressorLevel, 499, "19.9dB"},
      {Scales::kInputCompressorLevel, 500, "OFF"},
      {Scales::kRelease, 0, "50ms"},
      {Scales::kRelease, 4950, "5000ms"},
      {Scales::kAttack, 7, "1ms"},
      {Scales::kDelay, 24, "0.500ms"},
      {Scales::kCompressorRatio, 16, "2.5:1"},
  };
  for (const Reading& r : readings) {
    EXPECT_EQ(LevelText(r.scale, r.code), r.text) << "scale of unit " << r.scale.unit << " code " << r.code;
  }
}

TEST(ValueScales, CodesOutsideTheRangeReadAsTheNearestEnd) {
  EXPECT_EQ(LevelText(Scales::kChannelGain, -5), "-30.0dB");
  EXPECT_EQ(LevelText(Scales::kChannelGain, 32767), "12.0dB");
  EXPECT_EQ(LevelText(Scales::kInputCompressorLevel, 600), "OFF");
  EXPECT_EQ(LevelText(Scales::kMixLevel, -1), "OFF");
  EXPECT_EQ(LevelText(Scales::kFrequency, 0), "20Hz");
  EXPECT_EQ(DelayText(-32768), "0.000ms");
  EXPECT_EQ(DelayText(2000), "1000ms");
  EXPECT_EQ(AttackText(-1), "0.3ms");
  EXPECT_EQ(LevelText(Scales::kRelease, 9999), "5000ms");
  EXPECT_EQ(RatioText(0, RatioKind::Compressor), "1:1");
  EXPECT_EQ(RatioText(250, RatioKind::Agc), "1:20.0");
}

TEST(ValueScales, UnitValuesAndOffCodes) {
  EXPECT_DOUBLE_EQ(ToUnit(Scales::kMasterLevel, 1), -59.9);
  EXPECT_DOUBLE_EQ(ToUnit(Scales::kMixLevel, 1), -59.5);
  EXPECT_DOUBLE_EQ(ToUnit(Scales::kOctaves, 295), 3.0);
  EXPECT_DOUBLE_EQ(ToUnit(Scales::kAttack, 6), 0.9);
  EXPECT_DOUBLE_EQ(ToUnit(Scales::kCompressorRatio, 191), 20.0);

  EXPECT_FALSE(IsOff(Scales::kChannelGain, 0));
  EXPECT_FALSE(IsOff(Scales::kEqGain, 400));
  EXPECT_TRUE(IsOff(Scales::kNoiseGate, 0));
  EXPECT_TRUE(IsOff(Scales::kInputCompressorLevel, 500));
  EXPECT_FALSE(IsOff(Scales::kInputCompressorLevel, 0));
}

struct DelayReading {
  int code;
  const char* ms;
  const char* metres;
  const char* feet;
};

// Metres = ms * 0.3436 (sound at 21 degrees C), feet = metres * 3.281.
TEST(ValueScales, DelayDisplaysInMillisecondsMetresAndFeet) {
  const std::vector<DelayReading> readings = {
      {0, "0.000", "0.000", "0.000"},   {1, "0.021", "0.007", "0.023"},  // 0.0208 ms, 0.00716 m, 0.02349 ft
      {3, "0.063", "0.021", "0.070"},                                    // 0.0625 ms exactly: half rounds up
      {24, "0.500", "0.172", "0.564"},                                   // 0.1718 m, 0.56368 ft
      {425, "8.854", "3.042", "9.982"},                                  // 9.98176 ft: three places
      {426, "8.875", "3.049", "10.01"},                                  // 10.00525 ft: two places above 10
      {479, "9.979", "3.429", "11.25"}, {480, "10", "3.436", "11.27"},   // 10 ms: whole milliseconds
      {481, "11", "4", "12"},                                            // 3.7796 m, 12.4009 ft
      {1470, "1000", "344", "1127"},                                     // 343.6 m, 1127.35 ft
  };
  for (const DelayReading& r : readings) {
    EXPECT_EQ(DelayMsDisplay(r.code), r.ms) << "code " << r.code;
    EXPECT_EQ(DelayMetresDisplay(r.code), r.metres) << "code " << r.code;
    EXPECT_EQ(DelayFeetDisplay(r.code), r.feet) << "code " << r.code;
  }
  EXPECT_EQ(DelayText(479), "9.979ms");
  EXPECT_EQ(DelayText(480), "10ms");
  EXPECT_DOUBLE_EQ(DelayToMs(480), 10.0);
  EXPECT_DOUBLE_EQ(DelayToMs(481), 11.0);
  EXPECT_DOUBLE_EQ(DelayToMs(1470), 1000.0);
  EXPECT_NEAR(DelayToMetres(24), 0.1718, 1e-12);
  EXPECT_NEAR(DelayToFeet(1470), 1127.3516, 1e-9);
}

TEST(ValueScales, AttackAndReleaseTimes) {
  EXPECT_EQ(AttackText(0), "0.3ms");
  EXPECT_EQ(AttackText(6), "0.9ms");
  EXPECT_EQ(AttackText(7), "1ms");
  EXPECT_EQ(AttackText(56), "50ms");
  EXPECT_EQ(AttackText(206), "200ms");
  EXPECT_EQ(LevelText(Scales::kRelease, 100), "150ms");
}

TEST(ValueScales, RatioTextsInBothForms) {
  EXPECT_EQ(RatioText(1, RatioKind::Compressor), "1:1");
  EXPECT_EQ(RatioText(1, RatioKind::Agc), "1:1");
  EXPECT_EQ(RatioText(2, RatioKind::Compressor), "1.1:1");
  EXPECT_EQ(RatioText(2, RatioKind::Agc), "1:1.1");
  EXPECT_EQ(RatioText(11, RatioKind::Compressor), "2.0:1");
  EXPECT_EQ(RatioText(16, RatioKind::Compressor), "2.5:1");
  EXPECT_EQ(RatioText(16, RatioKind::Agc), "1:2.5");
  EXPECT_EQ(RatioText(191, RatioKind::Compressor), "20.0:1");
  EXPECT_EQ(RatioText(191, RatioKind::Agc), "1:20.0");
}

TEST(ValueScales, SnapRatioKeepsOnlyWholeAndHalfRatiosAboveTwo) {
  for (int code = 1; code <= 11; ++code) EXPECT_EQ(SnapRatio(code), code);
  for (int code = 12; code <= 19; ++code) EXPECT_EQ(SnapRatio(code), 16) << code;
  EXPECT_EQ(SnapRatio(20), 26);
  EXPECT_EQ(SnapRatio(21), 21);
  for (int code = 22; code <= 29; ++code) EXPECT_EQ(SnapRatio(code), 26) << code;
  EXPECT_EQ(SnapRatio(30), 36);
  EXPECT_EQ(SnapRatio(31), 31);
  EXPECT_EQ(SnapRatio(186), 186);
  EXPECT_EQ(SnapRatio(191), 191);
  EXPECT_EQ(SnapRatio(192), 191);
  EXPECT_EQ(SnapRatio(196), 191);
  EXPECT_EQ(SnapRatio(0), 1);
  EXPECT_EQ(SnapRatio(-7), 1);
  EXPECT_EQ(RatioText(SnapRatio(13), RatioKind::Compressor), "2.5:1");

  for (int code = -20; code <= 400; ++code) {
    const int snapped = SnapRatio(code);
    ASSERT_GE(snapped, 1);
    ASSERT_LE(snapped, 191);
    const bool wholeOrHalf = (snapped - 1) % 10 == 0 || (snapped - 1) % 10 == 5;
    EXPECT_TRUE(snapped <= 11 || wholeOrHalf) << code << " -> " << snapped;
    EXPECT_EQ(SnapRatio(snapped), snapped) << "snapping twice changed " << code;
  }
}

TEST(ValueScales, FixedTextRoundsHalvesAwayAndNeverShowsMinusZero) {
  EXPECT_EQ(FixedText(-0.0, 1), "0.0");
  EXPECT_EQ(FixedText(-0.04, 1), "0.0");
  EXPECT_EQ(FixedText(2.5, 0), "3");
  EXPECT_EQ(FixedText(-2.5, 0), "-3");
  EXPECT_EQ(FixedText(-12.25, 1), "-12.3");
}

}  // namespace
}  // namespace orvane::ValueScales
