#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/QTable.h"

namespace orvane::QTable {
namespace {

// Figures worked out from sqrt(2^N) / (2^N - 1), N = 0.05 + 0.01 c.
TEST(QTable, FiguresAtKnownBandwidths) {
  EXPECT_DOUBLE_EQ(QOf(0), 28.852);   // 0.05 octave: 28.8525
  EXPECT_DOUBLE_EQ(QOf(1), 24.043);   // 0.06 octave
  EXPECT_DOUBLE_EQ(QOf(25), 4.8);     // 0.30 octave: 4.80033
  EXPECT_DOUBLE_EQ(QOf(95), 1.414);   // one octave: sqrt(2)
  EXPECT_DOUBLE_EQ(QOf(195), 0.667);  // two octaves: 2/3
  EXPECT_DOUBLE_EQ(QOf(294), 0.406);
  EXPECT_DOUBLE_EQ(QOf(295), 0.404);  // three octaves
  EXPECT_DOUBLE_EQ(QOf(-1), 28.852);  // codes outside 0..295 read as the nearest end
  EXPECT_DOUBLE_EQ(QOf(1000), 0.404);
}

TEST(QTable, StrictlyDescendingSoEveryFigureFindsItsOwnCode) {
  const auto values = Values();
  for (int code = 1; code < kSize; ++code) EXPECT_LT(values[code], values[code - 1]) << code;
  for (int code = 0; code < kSize; ++code) EXPECT_EQ(QToBandwidthCode(values[code]), code);
}

TEST(QTable, TypedQIsLimitedThenTakesTheWiderBand) {
  EXPECT_EQ(QToBandwidthCode(50.0), 0);
  EXPECT_EQ(QToBandwidthCode(28.0), 1);     // between 24.043 and 28.852
  EXPECT_EQ(QToBandwidthCode(4.79), 26);    // just below 4.8
  EXPECT_EQ(QToBandwidthCode(0.405), 295);  // between 0.404 and 0.406
  EXPECT_EQ(QToBandwidthCode(0.1), 295);
  EXPECT_EQ(QToBandwidthCode(-3.0), 295);
  EXPECT_EQ(QToBandwidthCode(std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(QToBandwidthCode(std::nan("")), 295);
}

TEST(QTable, FigureTextHasThreeDecimals) {
  EXPECT_EQ(QText(0), "28.852");
  EXPECT_EQ(QText(25), "4.800");
  EXPECT_EQ(QText(95), "1.414");
  EXPECT_EQ(QText(295), "0.404");
}

}  // namespace
}  // namespace orvane::QTable
