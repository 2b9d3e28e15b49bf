#include "dsp/FilterDesign.h"

#include <algorithm>
#include <cmath>

#include "dsp/FilterFamily.h"
#include "dsp/FreqGrid.h"

namespace orvane::FilterDesign {

namespace {

using Row4 = std::array<double, Cascade::kMaxSections>;
using SlopeTable = std::array<Row4, kSlopeCount>;

// Damping of the second-order sections per slope code (0 = no section).
// For the odd slope codes (18, 30, 42 dB/oct) the first value scales the
// first-order section that replaces section 0.
constexpr SlopeTable kLinkwitzRileyDamping{{
    {1.0, 0, 0, 0},
    {1.0, 0.70422535211, 0, 0},
    {0.70422535211, 0.70422535211, 0, 0},
    {1.0, 0.62, 0.62, 0},
    {1.0, 0.5, 0.5, 0},
    {1.0, 0.453134315, 0.92592592593, 0.453134315},
    {0.92592592593, 0.373134315, 0.92592592593, 0.373134315},
}};

constexpr SlopeTable kButterworthDamping{{
    {0.70422535, 0, 0, 0},
    {1.0, 0.5, 0, 0},
    {0.92592593, 0.38167939, 0, 0},
    {1.0, 0.8064616129, 0.3086417953, 0},
    {0.96153846, 0.70422535211, 0.2590673575, 0},
    {1.0, 0.90909090909, 0.625, 0.2222222222},
    {0.98039216, 0.83333333, 0.55555556, 0.1953125},
}};

constexpr SlopeTable kBesselHighPassDamping{{
    {0.70422535, 0, 0, 0},
    {0.756, 0.72463768, 0, 0},
    {0.96153846, 0.61728395, 0, 0},
    {0.6656, 0.8928571428, 0.54347826, 0},
    {0.980392156, 0.819672131, 0.490196, 0},
    {0.5937, 0.943396226415, 0.757575757576, 0.4424778761},
    {0.98039216, 0.89285714, 0.70422535, 0.40650406},
}};

// The Bessel designs work on the set frequency divided by these; for the
// low-pass this puts the -3 dB point at the set frequency.
constexpr std::array<double, kSlopeCount> kBesselHighPassDivisor{
    1.2683112435, 1.2854981442, 1.5006420029, 1.3854981442, 1.5554981442, 1.5554981442, 1.679120141};

constexpr std::array<double, kSlopeCount> kBesselLowPassDivisor{
    1.3616541287, 1.75567236868, 2.1139176749, 1.0, 1.0, 1.0, 3.17961723751};

// Bessel low-pass sections are analog prototypes 1/(c0 s^2 + c1 s + 1).
constexpr SlopeTable kBesselLowPassC1{{
    {1.0, 0, 0, 0},
    {0.5693712514, 0.430628846, 0, 0},
    {0.369, 0.6278294896, 0, 0},
    {0.6656, 1.1402, 0.6216, 0},
    {1.2217, 0.9686, 0.5131, 0},
    {0.5937, 1.0944, 0.8304, 0.4332},
    {0.117235677, 0.226516664, 0.3067559, 0.3494916166},
}};

constexpr SlopeTable kBesselLowPassC0{{
    {0.3333333333, 0, 0, 0},
    {0.154812441, 0, 0, 0},
    {0.087858766, 0.109408, 0, 0},
    {0, 0.4128, 0.3245, 0},
    {0.3887, 0.3505, 0.2756, 0},
    {0, 0.3395, 0.3011, 0.2381},
    {0.02064747, 0.0259273886, 0.0294683265, 0.031272257},
}};

// Shelf design frequency multipliers and shelf slopes S, by `Slope` byte.
struct ShelfShape {
  double multiplier;
  double s;
};
constexpr std::array<ShelfShape, 2> kLowShelfShapes{{{2.0, 0.5}, {1.2727272727, 1.05}}};
constexpr std::array<ShelfShape, 2> kHighShelfShapes{{{0.4545454546, 0.5}, {0.76923076923, 1.05}}};

constexpr double kLn2 = 0.69314718;

bool isOddSlope(int slope) {
  return slope % 2 == 1;
}

// The Bessel rows serve the high-pass only; the Bessel low-pass is built
// from its own prototype sections.
const SlopeTable& dampingTable(FilterFamily family) {
  switch (family) {
    case FilterFamily::LinkwitzRiley:
      return kLinkwitzRileyDamping;
    case FilterFamily::Bessel:
      return kBesselHighPassDamping;
    case FilterFamily::Butterworth:
      break;
  }
  return kButterworthDamping;
}

// Bilinear-transform angles of a crossover corner.
struct Corner {
  double cw, sw, t;

  explicit Corner(double hz) {
    const double w0 = hz * kRadiansPerHz;
    cw = std::cos(w0);
    sw = std::sin(w0);
    t = std::tan(w0 / 2);
  }
};

Biquad highPassSection(const Corner& c, double zeta) {
  const double al = c.sw * zeta;
  const double b0 = (1 + c.cw) / 2;
  return {b0, -2 * b0, b0, 1 + al, -2 * c.cw, 1 - al};
}

Biquad lowPassSection(const Corner& c, double zeta) {
  const double al = c.sw * zeta;
  const double b0 = (1 - c.cw) / 2;
  return {b0, 2 * b0, b0, 1 + al, -2 * c.cw, 1 - al};
}

Biquad firstOrderHighPass(const Corner& c, double zeta) {
  return {1, -1, 0, zeta * c.t + 1, zeta * c.t - 1, 0};
}

Biquad firstOrderLowPass(const Corner& c, double zeta) {
  return {c.t, c.t, 0, c.t + zeta, c.t - zeta, 0};
}

// Bilinear transform of 1/(c0 s^2 + c1 s + 1); with c0 = 0 it reduces to a
// first-order section (numerator and denominator share the root z = -1).
Biquad besselLowPassSection(double t, double c0, double c1) {
  if (c1 == 0) return Biquad::unity();
  const double t2 = t * t;
  return {t2, 2 * t2, t2, c0 + c1 * t + t2, 2 * t2 - 2 * c0, c0 - c1 * t + t2};
}

Cascade besselLowPass(double hz, int slope) {
  const std::size_t row = static_cast<std::size_t>(slope);
  const double w0 = hz / kBesselLowPassDivisor[row] * kRadiansPerHz;
  const double t = std::tan(w0 / 2);
  Cascade cascade;
  for (int k = 0; k < Cascade::kMaxSections; ++k) {
    const std::size_t col = static_cast<std::size_t>(k);
    cascade.section(k) = besselLowPassSection(t, kBesselLowPassC0[row][col], kBesselLowPassC1[row][col]);
  }
  return cascade;
}

template <class SecondOrder, class FirstOrder>
Cascade dampedCascade(const Corner& corner, const Row4& damping, int slope, SecondOrder second,
                      FirstOrder first) {
  Cascade cascade;
  for (int k = 0; k < Cascade::kMaxSections; ++k) {
    const double zeta = damping[static_cast<std::size_t>(k)];
    if (zeta != 0) cascade.section(k) = second(corner, zeta);
  }
  if (isOddSlope(slope)) cascade.section(0) = first(corner, damping[0]);
  return cascade;
}

// Terms shared by the two shelf designs.
struct ShelfTerms {
  double a, cw, beta;

  ShelfTerms(const ShelfShape& shape, double hz, double gainDb) {
    const double w0 = hz * kRadiansPerHz * shape.multiplier;
    a = std::pow(10.0, gainDb / 40);
    cw = std::cos(w0);
    // A gain far outside the device's range would make the root negative
    // with the steeper shelf; it is held at 0 so the curve stays drawable.
    const double root = std::sqrt(std::max(0.0, (a + 1 / a) * (1 / shape.s - 1) + 2));
    const double alpha = std::sin(w0) / 2 * root;
    beta = 2 * std::sqrt(a) * alpha;
  }
};

bool isShelfSlope(int slope) {
  return slope == 0 || slope == 1;
}

Biquad lowShelfSection(const ShelfTerms& t) {
  const double a = t.a, cw = t.cw, beta = t.beta;
  return {a * ((a + 1) - (a - 1) * cw + beta), 2 * a * ((a - 1) - (a + 1) * cw),
          a * ((a + 1) - (a - 1) * cw - beta), (a + 1) + (a - 1) * cw + beta,
          -2 * ((a - 1) + (a + 1) * cw),       (a + 1) + (a - 1) * cw - beta};
}

Biquad highShelfSection(const ShelfTerms& t) {
  const double a = t.a, cw = t.cw, beta = t.beta;
  return {a * ((a + 1) + (a - 1) * cw + beta), -2 * a * ((a - 1) + (a + 1) * cw),
          a * ((a + 1) + (a - 1) * cw - beta), (a + 1) - (a - 1) * cw + beta,
          2 * ((a - 1) - (a + 1) * cw),        (a + 1) - (a - 1) * cw - beta};
}

}  // namespace

Cascade peaking(double hz, double gainDb, double bandwidthOct) {
  const double centre = FreqGrid[static_cast<std::size_t>(NearestFreqIndex(hz))];
  const double w0 = centre * kRadiansPerHz;
  const double a = std::pow(10.0, gainDb / 40);
  const double sn = std::sin(w0);
  const double alpha = sn * std::sinh(kLn2 * bandwidthOct * w0 / sn);
  const double c = -2 * std::cos(w0);
  Cascade cascade;
  cascade.section(0) = {1 + alpha * a, c, 1 - alpha * a, 1 + alpha / a, c, 1 - alpha / a};
  return cascade;
}

Cascade lowShelf(double hz, int slope, double gainDb) {
  Cascade cascade;
  if (gainDb == 0 || !isShelfSlope(slope)) return cascade;
  cascade.section(0) =
      lowShelfSection(ShelfTerms(kLowShelfShapes[static_cast<std::size_t>(slope)], hz, gainDb));
  return cascade;
}

Cascade highShelf(double hz, int slope, double gainDb) {
  Cascade cascade;
  if (gainDb == 0 || !isShelfSlope(slope)) return cascade;
  cascade.section(0) =
      highShelfSection(ShelfTerms(kHighShelfShapes[static_cast<std::size_t>(slope)], hz, gainDb));
  return cascade;
}

Cascade highPass(double hz, int family, int slope) {
  if (!isValidFamily(family) || !isValidSlope(slope)) return Cascade();
  const auto fam = static_cast<FilterFamily>(family);
  const std::size_t row = static_cast<std::size_t>(slope);
  if (fam == FilterFamily::Bessel) hz /= kBesselHighPassDivisor[row];
  return dampedCascade(Corner(hz), dampingTable(fam)[row], slope, highPassSection, firstOrderHighPass);
}

Cascade lowPass(double hz, int family, int slope) {
  if (!isValidFamily(family) || !isValidSlope(slope)) return Cascade();
  const auto fam = static_cast<FilterFamily>(family);
  if (fam == FilterFamily::Bessel) return besselLowPass(hz, slope);
  const std::size_t row = static_cast<std::size_t>(slope);
  return dampedCascade(Corner(hz), dampingTable(fam)[row], slope, lowPassSection, firstOrderLowPass);
}

}  // namespace orvane::FilterDesign
