#include <gtest/gtest.h>

#include <functional>

#include "AnalogPrototype.h"
#include "dsp/FilterDesign.h"

namespace orvane {
namespace {

using Response = std::array<double, kGridPoints>;
using analog::db;
using analog::warped;

constexpr std::size_t k500Hz = 112, k1000Hz = 136, k2000Hz = 160, k2520Hz = 168;

Response evaluate(const Cascade& cascade) {
  Response r{};
  cascade.evaluate(r);
  return r;
}

// Largest difference from an expectation at the grid points where the
// expectation lies above `floorDb`.
double maxDeviation(const Cascade& cascade, const std::function<double(double)>& expectedDb,
                    double floorDb = -200) {
  const Response r = evaluate(cascade);
  double worst = 0;
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double expected = expectedDb(FreqGrid[i]);
    if (expected > floorDb) worst = std::max(worst, std::abs(r[i] - expected));
  }
  return worst;
}

void expectMirrored(const Response& boost, const Response& cut) {
  for (std::size_t i = 0; i < kGridPoints; ++i) EXPECT_NEAR(boost[i] + cut[i], 0, 1e-9) << i;
}

TEST(Cascade, UnityIsExactlyFlatAndAZeroDenominatorIsReplaced) {
  for (double v : evaluate(Cascade())) EXPECT_EQ(v, 0.0);
  Cascade degenerate;
  degenerate.section(0) = {1, 0, 0, 0, 0, 0};  // a0 = 0 becomes 1e-10: gain 1e10
  for (double v : evaluate(degenerate)) EXPECT_NEAR(v, 200.0, 1e-9);
}

TEST(PeakingDesign, CentreSnappingBandwidthAndSymmetry) {
  const Response boost = evaluate(FilterDesign::peaking(1000, 6, 0.30));
  EXPECT_NEAR(boost[k1000Hz], 6.0, 1e-6);
  EXPECT_NEAR(boost[0], 0, 0.01);
  expectMirrored(boost, evaluate(FilterDesign::peaking(1000, -6, 0.30)));
  EXPECT_EQ(evaluate(FilterDesign::peaking(1010, 6, 0.3)), boost);
  EXPECT_EQ(evaluate(FilterDesign::peaking(1015, 6, 0.3)), evaluate(FilterDesign::peaking(1030, 6, 0.3)));
  // The bandwidth counts on each side: one octave puts half the gain at 500
  // and 2000 Hz.
  const Response wide = evaluate(FilterDesign::peaking(1000, 12, 1.0));
  EXPECT_NEAR(wide[k500Hz], 6.0, 0.02);
  EXPECT_NEAR(wide[k2000Hz], 6.0, 0.02);
}

// A shelf gives exactly half its gain at its design frequency, the set
// frequency times the slope's multiplier (here always a grid entry).
TEST(ShelfDesign, HalfGainAtTheShiftedFrequencyAndFullGainBeyond) {
  struct Case {
    bool low;
    int slope;
    double hz;
    std::size_t designPoint;
  };
  for (const Case c : {Case{true, 0, 500, k1000Hz}, Case{true, 1, 1980, k2520Hz},
                       Case{false, 0, 2200, k1000Hz}, Case{false, 1, 1300, k1000Hz}}) {
    SCOPED_TRACE(testing::Message() << "low " << c.low << " slope " << c.slope);
    auto design = c.low ? FilterDesign::lowShelf : FilterDesign::highShelf;
    const Response boost = evaluate(design(c.hz, c.slope, 12));
    EXPECT_NEAR(boost[c.designPoint], 6.0, 1e-5);
    EXPECT_NEAR(boost[c.low ? 0 : 240], 12.0, 0.2);
    EXPECT_NEAR(boost[c.low ? 240 : 0], 0.0, 0.2);
    expectMirrored(boost, evaluate(design(c.hz, c.slope, -12)));
  }
}

TEST(CrossoverDesign, CornerLevels) {
  const Response bw12 = evaluate(FilterDesign::lowPass(1000, 2, 0));
  EXPECT_NEAR(bw12[k1000Hz], db(analog::secondOrderLowPass(1, 0.70422535)), 1e-5);
  EXPECT_NEAR(bw12[k1000Hz], -3.0, 0.05);
  const Response lr24 = evaluate(FilterDesign::highPass(1000, 0, 2));
  EXPECT_NEAR(lr24[k1000Hz], 2 * db(analog::secondOrderHighPass(1, 0.70422535211)), 1e-5);
  EXPECT_NEAR(lr24[k1000Hz], -6.0, 0.1);
}

// The Butterworth rows approximate the ideal Butterworth of order 2..8; the
// 18 dB/oct one, a first-order section and one with damping 0.5, is exact.
TEST(CrossoverDesign, ButterworthFollowsTheIdealButterworth) {
  for (int slope = 0; slope <= 6; ++slope) {
    const int order = slope + 2;
    const double tolerance = slope == 1 ? 1e-5 : 0.1;
    const auto lp = [&](double f) { return db(analog::butterworthLowPass(warped(f, 1000), order)); };
    const auto hp = [&](double f) { return db(analog::butterworthHighPass(warped(f, 1000), order)); };
    EXPECT_LT(maxDeviation(FilterDesign::lowPass(1000, 2, slope), lp, -60), tolerance) << slope;
    EXPECT_LT(maxDeviation(FilterDesign::highPass(1000, 2, slope), hp, -60), tolerance) << slope;
  }
}

// Linkwitz-Riley of order 2n is the Butterworth of order n squared; exact at
// 12 and 36 dB/oct, close at 24 and 48.
TEST(CrossoverDesign, LinkwitzRileyIsASquaredButterworth) {
  for (const auto& [slope, tolerance] : {std::pair{0, 1e-5}, {2, 0.1}, {4, 1e-5}, {6, 0.5}}) {
    const int order = slope / 2 + 1;
    const auto lr = [order](double f) { return 2 * db(analog::butterworthLowPass(warped(f, 1000), order)); };
    EXPECT_LT(maxDeviation(FilterDesign::lowPass(1000, 0, slope), lr, -60), tolerance) << slope;
  }
}

// Each Bessel low-pass divisor puts the -3 dB point at the set frequency.
TEST(CrossoverDesign, BesselLowPassIsThreeDbDownAtItsFrequency) {
  for (int slope = 0; slope <= 6; ++slope) {
    const Response r = evaluate(FilterDesign::lowPass(2000, 1, slope));
    EXPECT_NEAR(r[k2000Hz], -3.01, 0.05) << slope;
    for (std::size_t i = 1; i < kGridPoints; ++i) EXPECT_LT(r[i], r[i - 1]) << slope;
  }
}

// The 18 dB/oct Bessel low-pass is its two prototype sections, the second
// first-order (c0 = 0); no first-order replacement applies.
TEST(CrossoverDesign, BesselLowPassSectionsFollowTheirPrototypes) {
  const auto expected = [](double f) {
    const double x = warped(f, 1000 / 1.75567236868);
    return db(analog::besselSection(x, 0.154812441, 0.5693712514) * analog::besselSection(x, 0, 0.430628846));
  };
  EXPECT_LT(maxDeviation(FilterDesign::lowPass(1000, 1, 1), expected), 1e-5);
}

// Bessel high-passes are their damped sections on the corner divided by the
// slope's divisor; the odd slopes start with a first-order section.
TEST(CrossoverDesign, BesselHighPassUsesItsDivisor) {
  struct Case {
    int slope;
    double divisor;
    std::array<double, 4> zeta;
  };
  for (const Case& c : {Case{3, 1.3854981442, {0.6656, 0.8928571428, 0.54347826, 0}},
                        Case{6, 1.679120141, {0.98039216, 0.89285714, 0.70422535, 0.40650406}}}) {
    const auto expected = [&](double f) {
      const double x = warped(f, 1000 / c.divisor);
      double power =
          c.slope % 2 ? analog::firstOrderHighPass(x, c.zeta[0]) : analog::secondOrderHighPass(x, c.zeta[0]);
      for (std::size_t k = 1; k < 4; ++k)
        if (c.zeta[k] != 0) power *= analog::secondOrderHighPass(x, c.zeta[k]);
      return db(power);
    };
    EXPECT_LT(maxDeviation(FilterDesign::highPass(1000, 1, c.slope), expected), 1e-5) << c.slope;
  }
  // The 12 dB/oct row has the Butterworth damping.
  EXPECT_LT(
      maxDeviation(FilterDesign::highPass(1268.3112435, 1, 0),
                   [](double f) { return db(analog::secondOrderHighPass(warped(f, 1000), 0.70422535)); }),
      1e-5);
}

}  // namespace
}  // namespace orvane
