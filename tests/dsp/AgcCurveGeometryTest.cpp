#include <gtest/gtest.h>

#include "dsp/AgcCurveGeometry.h"

namespace orvane {
namespace {

using H = AgcCurveGeometry::Handle;
namespace F = InputField;

// Plot 2000 x 1000 pixels from (20, 10): x = 20 + 2u, y = 1010 - u, so a
// swapped axis scale shows.
constexpr PlotRect kClient{0, 0, 2030, 1025};
constexpr int kChannel = 3;

struct Settings {
  int threshold, target, agcRatio, compLevel, compRatio;
};

void apply(ParameterImage& image, const Settings& s) {
  image.setField(Side::Input, kChannel, F::AGC_Threshold, s.threshold);
  image.setField(Side::Input, kChannel, F::AGC_TargetLevel, s.target);
  image.setField(Side::Input, kChannel, F::AGC_Ratio, s.agcRatio);
  image.setField(Side::Input, kChannel, F::Comp_Level, s.compLevel);
  image.setField(Side::Input, kChannel, F::Comp_ratio, s.compRatio);
}

TEST(AgcCurveGeometry, PointsFollowTheChannelsLevelsAndRatios) {
  struct Case {
    Settings settings;
    std::array<PlotPoint, 6> curve;
  };
  const Case cases[] = {
      // AGC off, compressor off: 1:1 from the corner to the top right.
      {{0, 0, 1, 500, 1}, {{{20, 1008}, {20, 1010}, {20, 1010}, {20, 1010}, {2020, 10}, {2020, 10}}}},
      // Threshold 300, target 600, AGC 1:2 lifts 300 to 450; compressor at
      // 700 with 3:1 ends at 800.
      {{300, 600, 11, 200, 21},
       {{{20, 1008}, {620, 710}, {620, 560}, {1220, 410}, {1420, 310}, {2020, 210}}}},
  };
  for (const Case& c : cases) {
    ParameterImage image;
    apply(image, c.settings);
    AgcCurveGeometry geometry(kClient);
    geometry.update(image, kChannel);
    EXPECT_EQ(geometry.curve(), c.curve) << c.settings.threshold;
    const PlotPoint p2 = c.curve[2];
    EXPECT_EQ(geometry.handleRect(H::Ratio), (PlotRect{p2.x - 3, p2.y - 3, p2.x + 3, p2.y + 3}));
  }
}

TEST(AgcCurveGeometry, HandlesKeepTheirColoursAndFields) {
  const std::array<HandleColour, 5> colours{HandleColour::Green, HandleColour::Yellow, HandleColour::Blue,
                                            HandleColour::Cyan, HandleColour::Magenta};
  const std::array<Field, 5> fields{F::AGC_Threshold, F::AGC_Ratio, F::AGC_TargetLevel, F::Comp_Level,
                                    F::Comp_ratio};
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const HandleInfo& info = AgcCurveGeometry::infoOf(AgcCurveGeometry::kHandles[i]);
    EXPECT_EQ(info.colour, colours[i]) << i;
    EXPECT_EQ(info.field, fields[i]) << i;
    EXPECT_EQ(info.adjustsRatio, i == 1 || i == 4) << i;
  }
}

TEST(AgcCurveGeometry, CoincidingPointsArePickedInAFixedOrder) {
  struct Case {
    Settings settings;
    PlotPoint pointer;
    std::optional<H> picked;
  };
  const Case cases[] = {
      {{1000, 1000, 1, 500, 1}, {2021, 11}, H::Threshold},  // all five at the top right
      {{0, 1000, 1, 500, 1}, {2019, 9}, H::Target},         // target, compressor points at the top
      {{0, 0, 1, 500, 1}, {2020, 10}, H::CompressorLevel},
      {{0, 0, 1, 500, 1}, {20, 1010}, H::Target},     // threshold, ratio, target at the corner
      {{0, 0, 1, 500, 1}, {2023, 10}, std::nullopt},  // right edge of the square is outside
      {{300, 600, 11, 200, 21}, {620, 560}, H::Ratio},
  };
  for (const Case& c : cases) {
    ParameterImage image;
    apply(image, c.settings);
    AgcCurveGeometry geometry(kClient);
    geometry.update(image, kChannel);
    EXPECT_EQ(geometry.handleAt(c.pointer), c.picked) << c.pointer.x << "," << c.pointer.y;
  }
}

TEST(AgcCurveGeometry, DragsStoreLimitedCodes) {
  struct Case {
    Settings settings;
    H handle;
    double y;
    std::optional<int> stored;
  };
  const Settings agc{300, 600, 11, 200, 21};  // P1.y 710, P3.y 410, P4.y 310
  const Case cases[] = {
      {agc, H::Threshold, 560, 450},
      {agc, H::Threshold, 10, 600},                              // not above the target
      {agc, H::Target, 0, 700},                                  // stops at the compressor level
      {agc, H::Target, 1010, 300},                               // not below the threshold
      {agc, H::Target, 410, std::nullopt},                       // unchanged
      {{300, 800, 11, 400, 21}, H::CompressorLevel, 1010, 300},  // kept at or above the target
      {agc, H::Ratio, 460, 51},                                  // a sixth of the way: 1:6
      {agc, H::Ratio, 500, 26},                                  // 1:3.33 snaps to 1:3.5
      {agc, H::Ratio, 710, 1},                                   // at the threshold: 1:1
      {agc, H::Ratio, 410, 191},                                 // at the target's height
      {agc, H::CompressorRatio, 235, 31},                        // a quarter of the way: 4:1
      {agc, H::CompressorRatio, 10, 1},
      {agc, H::CompressorRatio, 400, 191},  // below the compressor point
  };
  for (const Case& c : cases) {
    ParameterImage image;
    apply(image, c.settings);
    image.takeDeviceSnapshot();
    AgcCurveGeometry geometry(kClient);
    const Field field = AgcCurveGeometry::infoOf(c.handle).field;
    const int before = image.field(Side::Input, kChannel, field);
    const auto stored = geometry.drag(image, kChannel, c.handle, c.y);
    EXPECT_EQ(stored, c.stored) << static_cast<int>(c.handle) << " y " << c.y;
    EXPECT_EQ(image.field(Side::Input, kChannel, field), c.stored.value_or(before));
    // The worker finds the written row to send.
    const auto row = image.takeNextChangedRow(Side::Input);
    EXPECT_EQ(row.has_value(), c.stored.has_value());
    if (row) {
      EXPECT_EQ(row->row, field.row());
    }
  }
}

}  // namespace
}  // namespace orvane
