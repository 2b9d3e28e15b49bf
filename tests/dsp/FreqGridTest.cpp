#include <gtest/gtest.h>

#include "dsp/FreqGrid.h"

namespace orvane {
namespace {

TEST(FreqGrid, HoldsTheDevicesTable) {
  // The first value of every row of twelve, so a dropped or doubled entry
  // anywhere shows up.
  const std::array<double, 21> rowStarts{19.71, 27.8, 39.4, 55.7, 78.7, 111,  158,  223,   315,   445,  630,
                                         891,   1260, 1782, 2520, 3564, 5000, 7127, 10079, 14254, 20000};
  for (std::size_t row = 0; row < rowStarts.size(); ++row)
    EXPECT_EQ(FreqGrid[row * 12], rowStarts[row]) << row;
  EXPECT_EQ(FreqGrid[80], 198);
  EXPECT_EQ(FreqGrid[136], 1000);
  EXPECT_EQ(FreqGrid[76], 179);  // irregular values stay as the device has them
  EXPECT_EQ(FreqGrid[239], 19585);
  for (std::size_t i = 1; i < FreqGrid.size(); ++i) EXPECT_LT(FreqGrid[i - 1], FreqGrid[i]) << i;
}

TEST(FreqGrid, NearestIndexSnapsToTheCloserEntryAndTiesGoUp) {
  EXPECT_EQ(NearestFreqIndex(1000), 136);
  EXPECT_EQ(NearestFreqIndex(1014.9), 136);
  EXPECT_EQ(NearestFreqIndex(1015), 137);  // 15 Hz either side
  EXPECT_EQ(NearestFreqIndex(19), 0);
  EXPECT_EQ(NearestFreqIndex(20.2), 1);
  EXPECT_EQ(NearestFreqIndex(19800), 240);
  EXPECT_EQ(NearestFreqIndex(25000), 240);
}

}  // namespace
}  // namespace orvane
