#include "dsp/FreqGrid.h"

#include <cmath>

namespace orvane {

namespace {

// Radians per sample of grid frequency f is kTwoPi * f / kSampleRate; both
// constants are the device's own, rounded as it rounds them.
constexpr double kTwoPi = 6.2831852;
constexpr double kSampleRate = 96000;

GridAngles makeGridAngles() {
  GridAngles angles;
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    const double omega = kTwoPi * FreqGrid[i] / kSampleRate;
    angles.cosine[i] = std::cos(omega);
    angles.sine[i] = std::sin(omega);
  }
  return angles;
}

}  // namespace

int NearestFreqIndex(double hz) {
  for (int i = 0; i <= kLastGridIndex; ++i) {
    const double upper = FreqGrid[static_cast<std::size_t>(i)];
    if (upper < hz) continue;
    if (i == 0) return 0;
    const double lower = FreqGrid[static_cast<std::size_t>(i - 1)];
    return hz - lower < upper - hz ? i - 1 : i;
  }
  return kLastGridIndex;
}

const GridAngles& GridAngles::get() {
  static const GridAngles angles = makeGridAngles();
  return angles;
}

}  // namespace orvane
