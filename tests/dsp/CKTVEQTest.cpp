#include <gtest/gtest.h>

#include <stdexcept>

#include "dsp/CKTVEQ.h"
#include "model/ParameterImage.h"

namespace orvane {
namespace {

constexpr std::size_t k1000Hz = 136;
constexpr int kPlotHeight = 240;  // 2 pixels per dB

class CKTVEQTest : public testing::Test {
 protected:
  void SetUp() override {
    input.BuildInput(image, 2);
    output.BuildOutput(image, 7);
  }
  void setLock(int flag, bool on) {
    image.modify([&](ImageData& d) { d.locks.setLocked(flag, on); });
  }

  ParameterImage image;
  CKTVEQ input;
  CKTVEQ output;
};

TEST_F(CKTVEQTest, BandsThenHighPassThenLowPass) {
  EXPECT_EQ(output.elementCount(), 11);
  EXPECT_EQ(output.element(8).bandNumber(), 9);
  EXPECT_EQ(output.element(8).frequency(), 10000);  // the output's default band 9
  EXPECT_EQ(&input.highPass(), &input.element(8));
  EXPECT_EQ(&output.lowPass(), &output.element(10));
  EXPECT_EQ(input.colour(), (ChannelColour{2, 123, 192}));
  EXPECT_EQ(output.colour(), (ChannelColour{0, 0, 255}));
  EXPECT_THROW(input.element(10), std::out_of_range);
  EXPECT_THROW(CKTVEQ().highPass(), std::logic_error);
}

TEST_F(CKTVEQTest, CurveIsTheSumOfTheElementsOnThePlotScale) {
  output.SumCurve(kPlotHeight);
  for (float y : output.curveY()) EXPECT_FLOAT_EQ(y, 90.0f);  // 0 dB: 2 px/dB x 40 dB + 10

  image.setBand(Side::Output, 7, 5, {1000, 460, 25, 0, 0});
  image.setCrossover(Side::Output, 7, {1000, 0, 2, 20000, 0, 0});
  output.Rebind();
  output.SumCurve(kPlotHeight);
  const double sum = output.sumDb()[k1000Hz];
  EXPECT_NEAR(sum, 6.0 - 5.95, 0.01);  // +6 dB band, Linkwitz-Riley 24 dB/oct corner
  EXPECT_FLOAT_EQ(output.curveY()[k1000Hz], static_cast<float>(2 * (40 - sum) + 10));
}

TEST_F(CKTVEQTest, LockedPartsAreLeftOutOfTheCurve) {
  image.setBand(Side::Input, 2, 0, {1000, 460, 25, 0, 0});
  image.setCrossover(Side::Input, 2, {20, 0, 0, 1000, 0, 0});
  input.Rebind();
  const double band = input.element(0).response()[k1000Hz];
  const double lowPass = input.lowPass().response()[k1000Hz];

  setLock(LockFlag::InputEq, true);
  setLock(LockFlag::OutputCrossover, true);  // the other side's lock changes nothing here
  input.SumCurve(kPlotHeight);
  EXPECT_DOUBLE_EQ(input.sumDb()[k1000Hz], lowPass);
  setLock(LockFlag::InputCrossover, true);
  input.SumCurve(kPlotHeight);
  EXPECT_EQ(input.sumDb()[k1000Hz], 0.0);
  setLock(LockFlag::InputEq, false);
  input.SumCurve(kPlotHeight);
  EXPECT_DOUBLE_EQ(input.sumDb()[k1000Hz], band);
}

TEST_F(CKTVEQTest, CopyFromTakesStateAndRecords) {
  CKTVEQ source;
  source.BuildInput(image, 5);
  image.setBand(Side::Input, 5, 1, {2000, 460, 40, 1, 2});
  image.setCrossover(Side::Input, 5, {80, 1, 4, 12000, 2, 5});
  source.Rebind();
  source.element(1).SetBandOff(true);  // record 400, gain kept in the element
  source.element(4).SetBypass(true);

  input.CopyFrom(source);
  EXPECT_EQ(image.band(Side::Input, 2, 1), (EqBand{2000, 400, 40, 1, 2}));
  EXPECT_EQ(image.crossover(Side::Input, 2), (CrossoverPair{80, 1, 4, 12000, 2, 5}));
  EXPECT_TRUE(input.element(1).isBandOff());
  EXPECT_TRUE(input.element(4).isBypassed());
  EXPECT_EQ(input.lowPass().response(), source.lowPass().response());
  input.element(1).SetBandOff(false);  // brings back the gain the source kept
  EXPECT_EQ(image.band(Side::Input, 2, 1).Gain, 460);
}

}  // namespace
}  // namespace orvane
