#pragma once

// Expected responses from the analog prototypes the device's digital filters
// are bilinear transforms of: at digital frequency f, a filter with corner fc
// behaves like its prototype at x = tan(pi f / fs) / tan(pi fc / fs). Power
// gains |H(jx)|^2; nothing here shares code with the digital evaluation.

#include <cmath>
#include <numbers>

namespace orvane::analog {

inline double warped(double hz, double cornerHz) {
  constexpr double kSampleRate = 96000;
  return std::tan(std::numbers::pi * hz / kSampleRate) / std::tan(std::numbers::pi * cornerHz / kSampleRate);
}
inline double db(double power) {
  return 10 * std::log10(power);
}

// 1 / (s^2 + 2 zeta s + 1) and s^2 / (s^2 + 2 zeta s + 1).
inline double secondOrderLowPass(double x, double zeta) {
  return 1 / ((1 - x * x) * (1 - x * x) + 4 * zeta * zeta * x * x);
}
inline double secondOrderHighPass(double x, double zeta) {
  return std::pow(x, 4) * secondOrderLowPass(x, zeta);
}
// s / (s + c).
inline double firstOrderHighPass(double x, double c) {
  return x * x / (x * x + c * c);
}
// Ideal Butterworth of order n: 1 / (1 + x^2n).
inline double butterworthLowPass(double x, int order) {
  return 1 / (1 + std::pow(x, 2 * order));
}
inline double butterworthHighPass(double x, int order) {
  return butterworthLowPass(1 / x, order);
}
// 1 / (c0 s^2 + c1 s + 1).
inline double besselSection(double x, double c0, double c1) {
  return 1 / ((1 - c0 * x * x) * (1 - c0 * x * x) + c1 * c1 * x * x);
}

}  // namespace orvane::analog
