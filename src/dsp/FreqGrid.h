#pragma once

// The frequency grid of the EQ graph: every filter response is evaluated at
// these 241 frequencies, roughly 1/24 octave apart from 19.71 Hz to 20 kHz,
// and the graph places its curve points at them. The values are fixed data,
// not a formula: a few irregular steps are part of the table.

#include <array>
#include <cstddef>

namespace orvane {

inline constexpr std::size_t kGridPoints = 241;
inline constexpr int kLastGridIndex = 240;

// clang-format off
inline constexpr std::array<double, kGridPoints> FreqGrid{
    19.71, 20.31, 20.91, 21.51, 22.11, 22.71, 23.41, 24.11, 24.81, 25.5, 26.3, 27,
    27.8, 28.7, 29.5, 30.4, 31.3, 32.2, 33.1, 34.1, 35.1, 36.1, 37.2, 38.3,
    39.4, 40.5, 41.7, 42.9, 44.2, 45.5, 46.8, 48.2, 49.6, 51.1, 52.6, 54.1,
    55.7, 57.3, 59, 60.7, 62.5, 64.3, 66.2, 68.2, 70.2, 72.2, 74.3, 76.5,
    78.7, 81.1, 83.4, 85.9, 88.4, 91, 93.6, 96.4, 99.2, 102, 105, 108,
    111, 115, 118, 121, 125, 129, 132, 136, 140, 144, 149, 153,
    158, 162, 167, 172, 179, 182, 187, 193, 198, 204, 210, 216,
    223, 229, 236, 243, 250, 257, 265, 273, 281, 289, 297, 306,
    315, 324, 334, 344, 354, 364, 375, 386, 397, 409, 420, 433,
    445, 459, 472, 486, 500, 515, 530, 545, 561, 578, 595, 612,
    630, 648, 667, 687, 707, 728, 749, 771, 794, 817, 841, 866,
    891, 917, 944, 972, 1000, 1030, 1060, 1090, 1123, 1155, 1190, 1224,
    1260, 1297, 1335, 1374, 1414, 1456, 1498, 1542, 1587, 1634, 1682, 1731,
    1782, 1834, 1888, 1943, 2000, 2059, 2119, 2181, 2245, 2311, 2378, 2448,
    2520, 2594, 2670, 2748, 2828, 2911, 2997, 3084, 3175, 3268, 3364, 3462,
    3564, 3668, 3776, 3886, 4000, 4117, 4238, 4362, 4490, 4621, 4757, 4896,
    5000, 5187, 5339, 5496, 5657, 5823, 5993, 6169, 6350, 6536, 6727, 6924,
    7127, 7336, 7551, 7772, 8000, 8234, 8476, 8724, 8980, 9243, 9514, 9792,
    10079, 10374, 10679, 10992, 11314, 11645, 11987, 12338, 12699, 13071, 13454, 13849,
    14254, 14672, 15102, 15545, 16000, 16469, 16951, 17448, 17959, 18486, 19027, 19585,
    20000};
// clang-format on

// Index of the grid entry nearest to `hz`: the first entry >= hz, or the one
// below it when that is strictly closer (a tie goes up). Frequencies above
// the grid give the last index, frequencies below it the first.
int NearestFreqIndex(double hz);

// Cosine and sine of the evaluation angle of every grid point at the
// device's 96 kHz sample rate, computed once so that evaluating a response
// needs no trigonometry per point.
struct GridAngles {
  std::array<double, kGridPoints> cosine{};
  std::array<double, kGridPoints> sine{};

  static const GridAngles& get();
};

}  // namespace orvane
