#include <gtest/gtest.h>

#include "dsp/AgcCurveGeometry.h"
#include "dsp/CompLimCurveGeometry.h"

namespace orvane {
namespace {

using A = AgcCurveGeometry::Handle;
using C = CompLimCurveGeometry::Handle;
namespace I = InputField;
namespace O = OutputField;

// A geometry over one channel; settings are the codes of `fields` in order.
template <class Geometry, std::size_t N>
struct Rig {
  using Settings = std::array<int, N>;
  Side side;
  int channel;
  std::array<Field, N> fields;
  PlotRect client;

  Geometry bind(ParameterImage& image, const Settings& codes) const {
    for (std::size_t i = 0; i < N; ++i) image.setField(side, channel, fields[i], codes[i]);
    Geometry geometry(client);
    geometry.update(image, channel);
    return geometry;
  }
};

// Plot 2000 x 1000 pixels from (20, 10): x = 20 + 2u, y = 1010 - u, so a
// swapped axis scale shows.
const Rig<AgcCurveGeometry, 5> kAgc{
    Side::Input,
    3,
    {I::AGC_Threshold, I::AGC_TargetLevel, I::AGC_Ratio, I::Comp_Level, I::Comp_ratio},
    {0, 0, 2030, 1025}};
// Plot 1000 x 500 pixels from (20, 10): x = 20 + 2u, y = 510 - u.
const Rig<CompLimCurveGeometry, 3> kCompLim{
    Side::Output, 5, {O::Comp_Level, O::Lim_Threshold, O::Comp_ratio}, {0, 0, 1030, 525}};
using Agc = decltype(kAgc)::Settings;
using CompLim = decltype(kCompLim)::Settings;

// Checks the stored code, the field and the row the worker finds to send.
template <class Rig, class Case, std::size_t N>
void expectDrags(const Rig& rig, const Case (&cases)[N]) {
  for (const auto& [settings, handle, y, stored] : cases) {
    ParameterImage image;
    auto geometry = rig.bind(image, settings);
    image.takeDeviceSnapshot();
    const Field field = decltype(geometry)::infoOf(handle).field;
    const int before = image.field(rig.side, rig.channel, field);
    EXPECT_EQ(geometry.drag(image, rig.channel, handle, y), stored) << static_cast<int>(handle) << " y " << y;
    EXPECT_EQ(image.field(rig.side, rig.channel, field), stored.value_or(before));
    const auto row = image.takeNextChangedRow(rig.side);
    EXPECT_EQ(row ? std::optional(row->row) : std::nullopt,
              stored ? std::optional(field.row()) : std::nullopt);
  }
}

TEST(AgcCurveGeometry, PointsFollowTheChannelsLevelsAndRatios) {
  const std::pair<Agc, std::array<PlotPoint, 6>> cases[] = {
      {{0, 0, 1, 500, 1}, {{{20, 1008}, {20, 1010}, {20, 1010}, {20, 1010}, {2020, 10}, {2020, 10}}}},
      // AGC 1:2 lifts 300 to 450; the compressor at 700 with 3:1 ends at 800.
      {{300, 600, 11, 200, 21},
       {{{20, 1008}, {620, 710}, {620, 560}, {1220, 410}, {1420, 310}, {2020, 210}}}},
  };
  for (const auto& [settings, curve] : cases) {
    ParameterImage image;
    const auto geometry = kAgc.bind(image, settings);
    EXPECT_EQ(geometry.curve(), curve) << settings[0];
    const PlotPoint p2 = curve[2];
    EXPECT_EQ(geometry.handleRect(A::Ratio), (PlotRect{p2.x - 3, p2.y - 3, p2.x + 3, p2.y + 3}));
  }
}

TEST(AgcCurveGeometry, HandlesKeepTheirColoursAndFields) {
  using HC = HandleColour;
  const std::array colours{HC::Green, HC::Yellow, HC::Blue, HC::Cyan, HC::Magenta};
  const Field fields[] = {I::AGC_Threshold, I::AGC_Ratio, I::AGC_TargetLevel, I::Comp_Level, I::Comp_ratio};
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const HandleInfo& info = AgcCurveGeometry::infoOf(AgcCurveGeometry::kHandles[i]);
    EXPECT_EQ(info.colour, colours[i]) << i;
    EXPECT_EQ(info.field, fields[i]) << i;
    EXPECT_EQ(info.adjustsRatio, i == 1 || i == 4) << i;
  }
}

TEST(CompLimCurveGeometry, CurveMeetsTheLimiterOnlyWhenItCapsTheCompressor) {
  const std::tuple<CompLim, std::vector<PlotPoint>, std::optional<double>> cases[] = {
      {{500, 500, 1}, {{20, 510}, {1020, 10}, {1020, 10}}, std::nullopt},
      // Limiter off: the 3:1 line from 200 reaches the right edge at 300.
      {{200, 500, 21}, {{20, 510}, {420, 310}, {1020, 210}}, std::nullopt},
      // Limiter at 250 caps it where 200 + 50 x 3 = 350, then runs flat.
      {{200, 250, 21}, {{20, 510}, {420, 310}, {720, 260}, {1020, 260}}, 260},
      {{200, 400, 21}, {{20, 510}, {420, 310}, {1020, 210}}, 110},
  };
  for (const auto& [settings, curve, limiterY] : cases) {
    ParameterImage image;
    const auto geometry = kCompLim.bind(image, settings);
    EXPECT_EQ(geometry.curve(), curve) << settings[1];
    using Line = std::optional<std::array<PlotPoint, 2>>;
    EXPECT_EQ(geometry.limiterLine(),
              limiterY ? Line({PlotPoint{20, *limiterY}, PlotPoint{1020, *limiterY}}) : std::nullopt);
  }
}

TEST(DynamicsCurveGeometry, CoincidingPointsArePickedInAFixedOrder) {
  const std::tuple<Agc, PlotPoint, std::optional<A>> agcCases[] = {
      {{1000, 1000, 1, 500, 1}, {2021, 11}, A::Threshold},  // all five at the top right
      {{0, 1000, 1, 500, 1}, {2019, 9}, A::Target},         // target, compressor points at the top
      {{0, 0, 1, 500, 1}, {2020, 10}, A::CompressorLevel},
      {{0, 0, 1, 500, 1}, {20, 1010}, A::Target},     // threshold, ratio, target at the corner
      {{0, 0, 1, 500, 1}, {2023, 10}, std::nullopt},  // right edge of the square is outside
      {{300, 600, 11, 200, 21}, {620, 560}, A::Ratio},
  };
  const std::tuple<CompLim, PlotPoint, std::optional<C>> compLimCases[] = {
      {{500, 500, 1}, {1020, 10}, C::CompressorLevel},  // all three at the top right
      {{0, 500, 1}, {1021, 9}, C::LimiterThreshold},    // limiter and ratio points coincide
      {{100, 300, 21}, {620, 210}, C::LimiterThreshold}, {{200, 400, 21}, {1019, 211}, C::CompressorRatio},
      {{200, 400, 21}, {1019, 214}, std::nullopt},
  };
  const auto check = [](const auto& rig, const auto& cases) {
    for (const auto& [settings, pointer, picked] : cases) {
      ParameterImage image;
      EXPECT_EQ(rig.bind(image, settings).handleAt(pointer), picked) << pointer.x << "," << pointer.y;
    }
  };
  check(kAgc, agcCases);
  check(kCompLim, compLimCases);
}

TEST(DynamicsCurveGeometry, DragsStoreLimitedCodes) {
  const Agc agc{300, 600, 11, 200, 21};  // P1.y 710, P3.y 410, P4.y 310
  const std::tuple<Agc, A, double, std::optional<int>> agcCases[] = {
      {agc, A::Threshold, 560, 450},
      {agc, A::Threshold, 10, 600},                              // not above the target
      {agc, A::Target, 0, 700},                                  // stops at the compressor level
      {agc, A::Target, 1010, 300},                               // not below the threshold
      {agc, A::Target, 410, std::nullopt},                       // unchanged
      {{300, 800, 11, 400, 21}, A::CompressorLevel, 1010, 300},  // kept at or above the target
      {agc, A::Ratio, 460, 51},                                  // a sixth of the way: 1:6
      {agc, A::Ratio, 500, 26},                                  // 1:3.33 snaps to 1:3.5
      {agc, A::Ratio, 710, 1},                                   // at the threshold: 1:1
      {agc, A::Ratio, 410, 191},                                 // at the target's height
      {agc, A::CompressorRatio, 235, 31},                        // a quarter of the way: 4:1
      {agc, A::CompressorRatio, 10, 1},
      {agc, A::CompressorRatio, 400, 191},  // below the compressor point
  };
  expectDrags(kAgc, agcCases);
  const CompLim compLim{200, 400, 21};  // compressor point at y 310, top 10
  const std::tuple<CompLim, C, double, std::optional<int>> compLimCases[] = {
      {compLim, C::CompressorLevel, 0, 400},     // not above the limiter
      {compLim, C::LimiterThreshold, 510, 200},  // not below the compressor
      {compLim, C::LimiterThreshold, -50, 500},
      {compLim, C::CompressorRatio, 10, 1},  // level with the top: 1:1
      {compLim, C::CompressorRatio, 400, 191},
  };
  expectDrags(kCompLim, compLimCases);
}

}  // namespace
}  // namespace orvane
