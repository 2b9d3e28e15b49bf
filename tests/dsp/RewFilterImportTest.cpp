#include <gtest/gtest.h>

#include <vector>

#include "dsp/RewFilterImport.h"
#include "model/Language.h"
#include "model/ParameterImage.h"

namespace orvane {
namespace {

using RewFilterImport::apply;
using RewFilterImport::parse;

std::vector<std::uint8_t> blockOf(const ParameterImage& image, Side side, int channel) {
  std::vector<std::uint8_t> bytes(blockSize(side));
  image.readBlock(side, channel, Copy::Edited, bytes);
  return bytes;
}

class RewFilterImportTest : public testing::Test {
 protected:
  void SetUp() override { Language::setFlag(1); }
  void TearDown() override { Language::setFlag(0); }

  ParameterImage image;
};

// An export as Room EQ Wizard writes it: header, Windows line endings,
// skipped filters, shelves with slope words or a Q, kilohertz and thousands
// separators, values beyond the band ranges.
TEST_F(RewFilterImportTest, RealExportFillsTheBandsInFileOrder) {
  const char* file =
      "Filter Settings file\r\n"
      "\r\n"
      "Room EQ V5.20\r\n"
      "Dated: 12-Mar-2024 14:02:11\r\n"
      "\r\n"
      "Notes: living room, left speaker\r\n"
      "\r\n"
      "Equaliser: Generic\r\n"
      "Average 1\r\n"
      "Filter  1: ON  PK       Fc   63.0 Hz  Gain  -4.5 dB  Q  2.10\r\n"
      "Filter  2: ON  LS 6dB   Fc   80.0 Hz  Gain   3.0 dB\r\n"
      "Filter  3: ON  None\r\n"
      "Filter  4: OFF PK       Fc  125.0 Hz  Gain  -2.0 dB  Q  4.00\r\n"
      "Filter  5: ON  HSC 12dB Fc  1.00 kHz  Gain   2.5 dB\r\n"
      "Filter  6: ON  PK       Fc  1,000 Hz  Gain -30.0 dB  Q  0.30\r\n"
      "Filter  7: ON  LSC      Fc    250 Hz  Gain   6.0 dB  Q  0.71\r\n"
      "Filter  8: ON  PK       Fc  20000 Hz  Gain  25.0 dB  Q 10.00\r\n";
  image.setBand(Side::Input, 3, 7, {5000, 500, 30, 1, 2});
  const RewFilterImport::Parsed parsed = parse(file);
  ASSERT_TRUE(parsed.problems.empty());
  ASSERT_EQ(parsed.filters.size(), 6u);
  EXPECT_EQ(parsed.filters[2].line, 14);
  EXPECT_EQ(parsed.filters[2].slopeDb, 12.0);
  ASSERT_EQ(apply(image, Side::Input, 3, parsed), "");

  const std::vector<EqBand> expected{
      {62, 355, 63, 0, 0},     // 62.5 Hz on the grid, cut to whole Hz; Q 2.102
      {81, 430, 25, 0, 1},     // 81.1 Hz; 6 dB/oct
      {2000, 425, 25, 1, 2},   // a high shelf stays at 2000 Hz or above
      {1000, 100, 295, 0, 0},  // Q 0.30 is wider than the widest band
      {250, 460, 25, 1, 1},    // Q 0.71 at +6 dB is a 12 dB/oct shelf
      {20000, 600, 9, 0, 0},   // +20 dB at most; Q 10.301 is nearer than 9.614
      {2517, 400, 25, 0, 0},   // unfilled: flat
      {5000, 400, 30, 1, 2},   // unfilled: flat, the rest kept
  };
  for (int band = 0; band < 8; ++band)
    EXPECT_EQ(image.band(Side::Input, 3, band), expected[static_cast<std::size_t>(band)]) << band;
  // Band 1 as the device gets it: FQCY, Gain, Q little-endian, Slope, Type.
  EXPECT_EQ(image.row(Side::Input, 3, 7), (Row{62, 0, 0x63, 0x01, 63, 0, 0, 0}));
}

// One filter line into band 1 of an output whose band 1 was
// {1000 Hz, +6 dB, code 25, 12 dB/oct, peaking}: the band it becomes, or the
// problem that refuses the file and leaves the channel as it was.
TEST_F(RewFilterImportTest, EachLineBecomesABandOrAProblem) {
  struct Case {
    const char* text;
    EqBand band;
    const char* problem;
  };
  const EqBand before{1000, 460, 25, 1, 0};
  const std::vector<Case> cases{
      {"Filter 1: ON PK Fc 1.00 kHz Gain -3.0 dB Q 1.41", {1000, 370, 95, 1, 0}, ""},
      {"Filter 1:\tON\tPK\tFc\t2,500 Hz\tGain\t+1.5 dB\tQ\t4.0", {2520, 415, 31, 1, 0}, ""},
      {"Filter 1: ON  PK  Fc 63,5 Hz Gain 1 dB Q 2", {64, 410, 66, 1, 0}, ""},
      {"Filter 1: ON PK Fc 15 Hz Gain 2 dB Q 28.9", {20, 420, 0, 1, 0}, ""},
      {"Filter 1: ON HS Fc 500 Hz Gain -6 dB", {2000, 340, 25, 0, 2}, ""},
      {"Filter 1: ON LS Fc 5000Hz Gain 50dB", {2000, 600, 25, 0, 1}, ""},
      {"Filter 1: ON LS 12dB Fc 100 Hz Gain -45 dB", {99, 0, 25, 1, 1}, ""},
      {"Filter 1: ON HSQ Fc 8 kHz Gain 4 dB Q 0.5", {8000, 440, 25, 0, 2}, ""},
      {"Filter 1: ON LSC 9.5 dB Fc 150 Hz Gain 3 dB", {149, 430, 25, 1, 1}, ""},
      {"Filter 1: OFF PK Fc 100 Hz Gain 2 dB Q 1", {1000, 400, 25, 1, 0}, ""},
      {"Room EQ V5.20\nFilter 1: ON LP Fc 80 Hz", before, "line 2: unknown filter type 'LP'"},
      {"Filter 1: ON PK Fc 100 Hz Gain 2 dB", before, "line 1: no valid Q"},
      {"Filter 1: ON PK Fc 100 Hz Gain 2 dB Q 0", before, "line 1: no valid Q"},
      {"Filter 1: ON PK Fc abc Hz Gain 2 dB Q 1", before, "line 1: no valid frequency"},
      {"Filter 1: ON PK Fc 100 Hz Q 1", before, "line 1: no valid gain"},
      {"Filter 1: maybe PK", before, "line 1: ON or OFF expected"},
      {"\n\nFilter 3: ON", before, "line 3: no filter type"},
      {"a shopping list\r\n", before, "the file holds no REW filter lines"},
  };
  for (const Case& c : cases) {
    image.setBand(Side::Output, 5, 0, before);
    const std::vector<std::uint8_t> was = blockOf(image, Side::Output, 5);
    const RewFilterImport::Parsed parsed = parse(c.text);
    const std::string result = apply(image, Side::Output, 5, parsed);
    EXPECT_EQ(image.band(Side::Output, 5, 0), c.band) << c.text;
    if (*c.problem == '\0') {
      EXPECT_EQ(result, "") << c.text;
      continue;
    }
    ASSERT_EQ(parsed.problems.size(), 1u) << c.text;
    EXPECT_EQ(parsed.problems[0], c.problem);
    EXPECT_EQ(result, std::string("The filters were not imported:\n") + c.problem);
    EXPECT_EQ(blockOf(image, Side::Output, 5), was) << c.text;
  }
}

// Ten filters fit neither an input (8 bands) nor an output (9): the message
// names the lines left over, in either language, and nothing changes.
TEST_F(RewFilterImportTest, TooManyFiltersAreRefusedWithTheirLines) {
  std::string file = "Filter Settings file\n\n";
  for (int n = 1; n <= 10; ++n) file += "Filter " + std::to_string(n) + ": ON PK Fc 100 Hz Gain 1 dB Q 2\n";
  const RewFilterImport::Parsed parsed = parse(file);
  ASSERT_EQ(parsed.filters.size(), 10u);
  const auto before = image.read([](const ImageData& d) { return d.edited; });
  EXPECT_EQ(apply(image, Side::Input, 0, parsed),
            "The file holds 10 filters but the channel has 8 bands; the filters on lines 11, 12 do not fit");
  EXPECT_EQ(apply(image, Side::Output, 7, parsed),
            "The file holds 10 filters but the channel has 9 bands; the filter on line 12 does not fit");
  Language::setFlag(0);
  EXPECT_EQ(apply(image, Side::Output, 7, parsed),
            "文件有 10 个滤波器，但该通道只有 9 个频段；第 12 行的滤波器放不下");
  EXPECT_EQ(parse("Filter 2: ON XO").problems.at(0), "第 1 行：未知的滤波器类型 'XO'");
  EXPECT_TRUE(image.read([&](const ImageData& d) { return d.edited == before; }));
}

}  // namespace
}  // namespace orvane
