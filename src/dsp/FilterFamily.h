#pragma once

#include <cstdint>

namespace orvane {

// Filter family of a crossover filter: the `XMode_Lo` / `XMode_Hi` byte.
enum class FilterFamily : std::uint8_t { LinkwitzRiley = 0, Bessel = 1, Butterworth = 2 };

inline constexpr int kFamilyCount = 3;
// Slope codes 0..6 stand for 12, 18, 24, 30, 36, 42 and 48 dB/oct.
inline constexpr int kSlopeCount = 7;

constexpr bool isValidFamily(int family) {
  return family >= 0 && family < kFamilyCount;
}
constexpr bool isValidSlope(int slope) {
  return slope >= 0 && slope < kSlopeCount;
}

}  // namespace orvane
