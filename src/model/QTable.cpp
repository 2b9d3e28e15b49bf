#include "model/QTable.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/ValueScales.h"

namespace orvane::QTable {

namespace {

using Table = std::array<double, kSize>;

// Q of a band N octaves wide: sqrt(2^N) / (2^N - 1), kept to three decimals
// as the device's tables are.
double QOfOctaves(double octaves) {
  const double ratio = std::exp2(octaves);
  const double q = std::sqrt(ratio) / (ratio - 1.0);
  return std::round(q * 1000.0) / 1000.0;
}

Table Build() {
  Table table{};
  for (int code = 0; code < kSize; ++code) {
    table[static_cast<std::size_t>(code)] = QOfOctaves(0.05 + 0.01 * code);
  }
  return table;
}

const Table& Get() {
  static const Table table = Build();
  return table;
}

}  // namespace

std::span<const double, kSize> Values() {
  return Get();
}

double QOf(int code) {
  return Get()[static_cast<std::size_t>(std::clamp(code, 0, kLastCode))];
}

int QToBandwidthCode(double q) {
  const Table& table = Get();
  const double limited = std::clamp(q, table[kLastCode], table[0]);
  for (int code = 0; code < kLastCode; ++code) {
    if (limited >= table[static_cast<std::size_t>(code)]) return code;
  }
  return kLastCode;
}

std::string QText(int code) {
  return ValueScales::FixedText(QOf(code), 3);
}

}  // namespace orvane::QTable
