#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ValueScales.h"

namespace orvane::ValueScales {
namespace {

struct Reading {
  Scale scale;
  int code;
  const char* text;
};

TEST(ValueScales, LevelTextsAtTheEndsAndSpecialCodesOfEveryScale) {
  const std::vector<Reading> readings = {
      {Scale::ChannelGain, 0, "-30.0dB"},  // lowest gain is a level, not off
      {Scale::ChannelGain, 299, "-0.1dB"},  {Scale::ChannelGain, 300, "0.0dB"},
      {Scale::ChannelGain, 420, "12.0dB"},  {Scale::MasterLevel, 0, "OFF"},
      {Scale::MasterLevel, 1, "-59.9dB"},   {Scale::MasterLevel, 600, "0.0dB"},
      {Scale::MasterLevel, 720, "12.0dB"},  {Scale::MixLevel, 0, "OFF"},
      {Scale::MixLevel, 1, "-60dB"},  // -59.5 dB, halves away from zero
      {Scale::MixLevel, 2, "-59dB"},        {Scale::MixLevel, 117, "-2dB"},  // -1.5 dB
      {Scale::MixLevel, 119, "-1dB"},                                        // -0.5 dB must not read "-0dB"
      {Scale::MixLevel, 120, "0dB"},        {Scale::EqGain, 0, "-40.0dB"},
      {Scale::EqGain, 399, "-0.1dB"},       {Scale::EqGain, 400, "0.0dB"},
      {Scale::EqGain, 600, "20.0dB"},       {Scale::Bandwidth, 0, "0.05oct"},
      {Scale::Bandwidth, 95, "1.00oct"},    {Scale::Bandwidth, 295, "3.00oct"},
      {Scale::Frequency, 20, "20Hz"},       {Scale::Frequency, 20000, "20000Hz"},
      {Scale::NoiseGate, 0, "OFF"},         {Scale::NoiseGate, 1, "-119dBu"},
      {Scale::NoiseGate, 120, "0dBu"},      {Scale::NoiseGate, 130, "10dBu"},
      {Scale::AgcLevel, 0, "OFF"},          {Scale::AgcLevel, 1, "-79.9dB"},
      {Scale::AgcLevel, 800, "0.0dB"},      {Scale::AgcLevel, 1000, "20.0dB"},
      {Scale::DynamicsLevel, 0, "-30.0dB"}, {Scale::DynamicsLevel, 499, "19.9dB"},
      {Scale::DynamicsLevel, 500, "OFF"},   {Scale::Release, 0, "50ms"},
      {Scale::Release, 4950, "5000ms"},     {Scale::Attack, 7, "1ms"},
      {Scale::Delay, 24, "0.500ms"},        {Scale::Ratio, 16, "2.5:1"},
  };
  for (const Reading& r : readings) {
    EXPECT_EQ(LevelText(r.scale, r.code), r.text)
        << "scale " << static_cast<int>(r.scale) << " code " << r.code;
  }
}

TEST(ValueScales, CodesOutsideTheRangeReadAsTheNearestEnd) {
  EXPECT_EQ(LevelText(Scale::ChannelGain, -5), "-30.0dB");
  EXPECT_EQ(LevelText(Scale::ChannelGain, 32767), "12.0dB");
  EXPECT_EQ(LevelText(Scale::DynamicsLevel, 600), "OFF");
  EXPECT_EQ(LevelText(Scale::MixLevel, -1), "OFF");
  EXPECT_EQ(LevelText(Scale::Frequency, 0), "20Hz");
  EXPECT_EQ(DelayText(-32768), "0.000ms");
  EXPECT_EQ(DelayText(2000), "1000ms");
  EXPECT_EQ(AttackText(-1), "0.3ms");
  EXPECT_EQ(ReleaseText(9999), "5000ms");
  EXPECT_EQ(RatioText(0, RatioKind::Compressor), "1:1");
  EXPECT_EQ(RatioText(250, RatioKind::Agc), "1:20.0");
}

TEST(ValueScales, UnitValuesAndOffCodes) {
  EXPECT_DOUBLE_EQ(ToUnit(Scale::MasterLevel, 1), -59.9);
  EXPECT_DOUBLE_EQ(ToUnit(Scale::MixLevel, 1), -59.5);
  EXPECT_DOUBLE_EQ(ToUnit(Scale::Bandwidth, 295), 3.0);
  EXPECT_DOUBLE_EQ(ToUnit(Scale::Attack, 6), 0.9);
  EXPECT_DOUBLE_EQ(ToUnit(Scale::Ratio, 191), 20.0);

  EXPECT_FALSE(IsOff(Scale::ChannelGain, 0));
  EXPECT_FALSE(IsOff(Scale::EqGain, 400));
  EXPECT_TRUE(IsOff(Scale::NoiseGate, 0));
  EXPECT_TRUE(IsOff(Scale::DynamicsLevel, 500));
  EXPECT_FALSE(IsOff(Scale::DynamicsLevel, 0));
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
  EXPECT_EQ(ReleaseText(100), "150ms");
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
