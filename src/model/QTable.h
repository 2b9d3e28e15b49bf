#pragma once

// The Q figures of the EQ bandwidth codes. A band stores its bandwidth as a
// code c for 0.05 + 0.01 c octaves; the pages and the report also show and
// accept it as the Q of that bandwidth, rounded to three decimals.

#include <span>
#include <string>

namespace orvane::QTable {

inline constexpr int kSize = 296;
inline constexpr int kLastCode = kSize - 1;

// Descending: 28.852 at code 0 (0.05 octave) down to 0.404 at code 295 (3.00
// octaves).
std::span<const double, kSize> Values();

// Q figure of a bandwidth code; the code is limited to 0..295.
double QOf(int code);

// Bandwidth code for a typed Q: the Q is first limited to 0.404..28.852, then
// the result is the first code whose Q the typed one reaches (a Q between
// two figures takes the wider band). A Q that is not a number gives 295.
int QToBandwidthCode(double q);

// "4.800", "1.414": the Q figure as the pages show it.
std::string QText(int code);

}  // namespace orvane::QTable
