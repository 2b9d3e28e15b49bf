#include "dsp/Cascade.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

// A denominator a0 of exactly 0 (a degenerate design) is replaced by this
// value before normalising, so no section divides by zero.
constexpr double kZeroA0 = 1e-10;

// The terms of |H(e^jw)|^2 of a section normalised by a0:
// numerator ((b0 + b2) cos w + b1)^2 + ((b0 - b2) sin w)^2,
// denominator ((1 + a2) cos w + a1)^2 + ((1 - a2) sin w)^2.
struct PowerTerms {
  double bSum, bDiff, b1;
  double aSum, aDiff, a1;

  explicit PowerTerms(const Biquad& s) {
    const double a0 = s.a0 == 0 ? kZeroA0 : s.a0;
    const double b0 = s.b0 / a0, b2 = s.b2 / a0, a2 = s.a2 / a0;
    bSum = b0 + b2;
    bDiff = b0 - b2;
    b1 = s.b1 / a0;
    aSum = 1 + a2;
    aDiff = 1 - a2;
    a1 = s.a1 / a0;
  }
  PowerTerms() : bSum(2), bDiff(0), b1(0), aSum(2), aDiff(0), a1(0) {}

  double powerGain(double c, double s) const {
    const double nr = bSum * c + b1, ni = bDiff * s;
    const double dr = aSum * c + a1, di = aDiff * s;
    return (nr * nr + ni * ni) / (dr * dr + di * di);
  }
};

// Power gain to dB, held finite: a section of a damaged record may give a
// zero, infinite or undefined gain, which the graph could not draw.
double powerToDb(double power) {
  if (std::isnan(power)) return 0;
  constexpr double kLowest = std::numeric_limits<double>::min();
  constexpr double kHighest = std::numeric_limits<double>::max();
  return 10 * std::log10(std::clamp(power, kLowest, kHighest));
}

}  // namespace

bool Cascade::isUnity() const {
  return std::all_of(sections_.begin(), sections_.end(), [](const Biquad& s) { return s.isUnity(); });
}

void Cascade::evaluate(std::span<double, kGridPoints> responseDb) const {
  std::array<PowerTerms, kMaxSections> active;
  std::size_t count = 0;
  for (const Biquad& s : sections_) {
    if (!s.isUnity()) active[count++] = PowerTerms(s);
  }
  if (count == 0) {
    std::fill(responseDb.begin(), responseDb.end(), 0.0);
    return;
  }
  const GridAngles& angles = GridAngles::get();
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double c = angles.cosine[i], s = angles.sine[i];
    double power = 1;
    for (std::size_t k = 0; k < count; ++k) power *= active[k].powerGain(c, s);
    responseDb[i] = powerToDb(power);
  }
}

}  // namespace orvane
