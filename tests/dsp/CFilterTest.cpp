#include <gtest/gtest.h>

#include <cmath>

#include "dsp/CFilter.h"
#include "model/Language.h"
#include "model/ParameterImage.h"

namespace orvane {
namespace {

constexpr std::size_t k1000Hz = 136;
constexpr EqBand kPlus6At1000{1000, 460, 25, 0, 0};  // peaking +6 dB, 0.30 oct

bool allZero(const CFilter::Response& r) {
  return std::all_of(r.begin(), r.end(), [](double v) { return v == 0.0; });
}

class CFilterTest : public testing::Test {
 protected:
  void TearDown() override { Language::setFlag(0); }

  // Band 3 (index 2) of input 0 holds `record`; the element is bound to it.
  CFilter bandWith(const EqBand& record) {
    image.setBand(Side::Input, 0, 2, record);
    CFilter band;
    band.setBandNumber(3);
    band.BindBand(image, Side::Input, 0, 2);
    return band;
  }
  EqBand record() const { return image.band(Side::Input, 0, 2); }

  CFilter crossover(FilterKind kind, const CrossoverPair& pair) {
    image.setCrossover(Side::Output, 1, pair);
    CFilter filter;
    filter.SetKind(kind);
    filter.BindCrossover(image, Side::Output, 1);
    return filter;
  }

  ParameterImage image;
};

TEST_F(CFilterTest, FlatOffAndBypassedBandsContributeNothingAndComeBack) {
  EXPECT_TRUE(allZero(bandWith({1000, 400, 25, 0, 0}).response()));
  CFilter band = bandWith(kPlus6At1000);
  EXPECT_NEAR(band.response()[k1000Hz], 6.0, 1e-6);

  band.SetBandOff(true);
  EXPECT_TRUE(allZero(band.response()));
  EXPECT_EQ(record().Gain, 400);
  EXPECT_EQ(band.GainDb(), 0.0);
  EXPECT_EQ(band.LabelText(), "EQ3\nPEQ  1000Hz 0.30Oct 0.0dB");
  band.SetBandOff(false);
  EXPECT_EQ(record().Gain, 460);
  EXPECT_NEAR(band.response()[k1000Hz], 6.0, 1e-6);

  band.SetBypass(true);
  EXPECT_TRUE(allZero(band.response()));
  EXPECT_EQ(record().Gain, 400);
  band.SetBypass(false);
  EXPECT_EQ(record().Gain, 460);
  EXPECT_NEAR(band.response()[k1000Hz], 6.0, 1e-6);

  band.SetBypass(true);
  band.SetBandOff(false);  // switching a bypassed band on clears the bypass
  EXPECT_FALSE(band.IsFlat());
  EXPECT_EQ(record().Gain, 460);
}

TEST_F(CFilterTest, GainAndBandwidthCodes) {
  CFilter band = bandWith(kPlus6At1000);
  // Every code survives the trip through dB: the +0.5 rounds codes whose dB
  // value lies a hair below the exact one.
  for (int code = 0; code <= 600; ++code) {
    band.SetGainCode(code);
    EXPECT_EQ(band.GainCode(), code);
  }
  EXPECT_EQ(record().Gain, 600);
  band.SetGainCode(400);
  EXPECT_TRUE(band.isBandOff());

  band.SetBandwidthOct(0.30);
  EXPECT_EQ(band.BandwidthCode(), 25);
  band.SetBandwidthOct(3.0);
  EXPECT_EQ(band.BandwidthCode(), 295);
  band.SetBandwidthOct(0.2949);  // 24.49 steps: the +0.05 does not reach 25
  EXPECT_EQ(band.BandwidthCode(), 24);
  for (int code = 0; code <= 295; ++code) {
    band.SetBandwidthCode(code);
    EXPECT_EQ(band.BandwidthCode(), code);
  }
  EXPECT_EQ(record().Q, 295);
}

TEST_F(CFilterTest, ShelvesMoveToTheirSideOf2000Hz) {
  CFilter band = bandWith({5000, 460, 25, 0, 0});
  band.SetKind(FilterKind::LowShelf);
  EXPECT_EQ(record(), (EqBand{2000, 460, 25, 0, 1}));
  EXPECT_EQ(band.frequency(), 2000);
  band = bandWith({500, 460, 25, 0, 0});
  band.SetKind(FilterKind::HighShelf);
  EXPECT_EQ(record(), (EqBand{2000, 460, 25, 0, 2}));
  band = bandWith({1000, 460, 25, 0, 0});
  band.SetKind(FilterKind::LowShelf);
  EXPECT_EQ(record().FQCY, 1000);
}

TEST_F(CFilterTest, CrossoverTakesItsHalfOfThePairAndIsOffAtItsEnd) {
  const CrossoverPair pair{100, 1, 3, 8000, 2, 6};
  CFilter hp = crossover(FilterKind::HighPass, pair);
  CFilter lp = crossover(FilterKind::LowPass, pair);
  EXPECT_EQ(hp.frequency(), 100);
  EXPECT_EQ(hp.FamilyText(), "贝塞尔");
  EXPECT_EQ(hp.CrossoverSlopeText(), "30dB/oct");
  EXPECT_EQ(lp.CurrentFrequency(), 8000);
  EXPECT_EQ(lp.CrossoverSlopeText(), "48dB/oct");
  EXPECT_EQ(hp.LabelText(), "100Hz ");

  EXPECT_TRUE(allZero(crossover(FilterKind::HighPass, {20, 0, 0, 20000, 0, 0}).response()));
  EXPECT_TRUE(allZero(crossover(FilterKind::LowPass, {20, 0, 0, 20000, 0, 0}).response()));
  EXPECT_LT(crossover(FilterKind::HighPass, {21, 0, 0, 20000, 0, 0}).response()[0], -1);
  EXPECT_LT(crossover(FilterKind::LowPass, {20, 0, 0, 19999, 0, 0}).response()[240], -1);
}

TEST_F(CFilterTest, DamagedCodesGiveAFlatElementWithoutTexts) {
  CFilter family = crossover(FilterKind::HighPass, {1000, 3, 0, 20000, 0, 0});
  EXPECT_TRUE(allZero(family.response()));
  EXPECT_EQ(family.FamilyText(), "");
  CFilter slope = crossover(FilterKind::LowPass, {20, 0, 0, 1000, 0, 9});
  EXPECT_TRUE(allZero(slope.response()));
  EXPECT_EQ(slope.CrossoverSlopeText(), "");
  CFilter type = bandWith({1000, 460, 25, 0, 3});  // a high-pass type in a band record
  EXPECT_TRUE(allZero(type.response()));
  EXPECT_EQ(type.KindText(), "");
  CFilter shelf = bandWith({1000, 460, 25, 5, 1});
  EXPECT_TRUE(allZero(shelf.response()));
  EXPECT_EQ(shelf.ShelfSlopeText(), "");
}

// Codes far outside the device's ranges still give a curve the graph can
// draw: no infinite or undefined values.
TEST_F(CFilterTest, ResponsesStayFiniteForAbsurdRecords) {
  const auto finite = [](const CFilter& f) {
    return std::all_of(f.response().begin(), f.response().end(), [](double v) { return std::isfinite(v); });
  };
  EXPECT_TRUE(finite(bandWith({1000, 32767, 25, 1, 1})));   // +3237 dB shelf
  EXPECT_TRUE(finite(bandWith({1000, -32768, 25, 1, 2})));  // -3317 dB shelf
  EXPECT_TRUE(finite(bandWith({1000, 32767, 25, 0, 0})));
  EXPECT_TRUE(finite(crossover(FilterKind::LowPass, {20, 0, 0, 0, 1, 3})));  // 0 Hz: zero gain
}

TEST_F(CFilterTest, TextsInBothLanguages) {
  CFilter band = bandWith({1000, 365, 25, 0, 0});
  CFilter shelf = bandWith({120, 460, 50, 1, 1});
  Language::setFlag(1);
  EXPECT_EQ(band.LabelText(), "EQ3\nPEQ  1000Hz 0.30Oct -3.5dB");
  EXPECT_EQ(band.FrequencyText() + band.BandwidthText() + band.GainText(), "1000Hz0.30oct-3.5dB");
  EXPECT_EQ(band.KindText(), "PEQ");
  EXPECT_EQ(shelf.KindText(), "Lo_Shf");
  EXPECT_EQ(shelf.LabelText(), "EQ3\nLo 120Hz 12dB/oct 6.0dB");
  EXPECT_EQ(crossover(FilterKind::HighPass, {100, 2, 1, 20000, 0, 0}).FamilyText(), "BTWorth");
  Language::setFlag(0);
  EXPECT_EQ(band.KindText(), "参量均衡");
  EXPECT_EQ(shelf.KindText(), "低调");
  EXPECT_EQ(band.LabelText(), "EQ3\nPEQ  1000Hz 0.30Oct -3.5dB");
}

}  // namespace
}  // namespace orvane
