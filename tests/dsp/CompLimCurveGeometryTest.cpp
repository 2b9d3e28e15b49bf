#include <gtest/gtest.h>

#include "dsp/CompLimCurveGeometry.h"

namespace orvane {
namespace {

using H = CompLimCurveGeometry::Handle;
namespace F = OutputField;

// Plot 1000 x 500 pixels from (20, 10): x = 20 + 2u, y = 510 - u.
constexpr PlotRect kClient{0, 0, 1030, 525};
constexpr int kChannel = 5;

struct Settings {
  int compLevel, limThreshold, compRatio;
};

CompLimCurveGeometry bound(ParameterImage& image, const Settings& s) {
  image.setField(Side::Output, kChannel, F::Comp_Level, s.compLevel);
  image.setField(Side::Output, kChannel, F::Lim_Threshold, s.limThreshold);
  image.setField(Side::Output, kChannel, F::Comp_ratio, s.compRatio);
  CompLimCurveGeometry geometry(kClient);
  geometry.update(image, kChannel);
  return geometry;
}

TEST(CompLimCurveGeometry, CurveMeetsTheLimiterOnlyWhenItCapsTheCompressor) {
  struct Case {
    Settings settings;
    std::vector<PlotPoint> curve;
    std::optional<double> limiterY;
  };
  const Case cases[] = {
      {{500, 500, 1}, {{20, 510}, {1020, 10}, {1020, 10}}, std::nullopt},
      // Limiter off: the 3:1 line from 200 reaches the right edge at 300.
      {{200, 500, 21}, {{20, 510}, {420, 310}, {1020, 210}}, std::nullopt},
      // Limiter at 250 caps it where 200 + 50 x 3 = 350, then runs flat.
      {{200, 250, 21}, {{20, 510}, {420, 310}, {720, 260}, {1020, 260}}, 260},
      {{200, 400, 21}, {{20, 510}, {420, 310}, {1020, 210}}, 110},
  };
  for (const Case& c : cases) {
    ParameterImage image;
    const auto geometry = bound(image, c.settings);
    EXPECT_EQ(geometry.curve(), c.curve) << c.settings.limThreshold;
    const auto line = geometry.limiterLine();
    ASSERT_EQ(line.has_value(), c.limiterY.has_value());
    if (line) {
      EXPECT_EQ(*line, (std::array{PlotPoint{20, *c.limiterY}, PlotPoint{1020, *c.limiterY}}));
    }
  }
}

TEST(CompLimCurveGeometry, HoverPrefersCompressorThenLimiterThenRatio) {
  struct Case {
    Settings settings;
    PlotPoint pointer;
    std::optional<H> picked;
  };
  const Case cases[] = {
      {{500, 500, 1}, {1020, 10}, H::CompressorLevel},  // all three at the top right
      {{0, 500, 1}, {1021, 9}, H::LimiterThreshold},    // limiter and ratio points coincide
      {{100, 300, 21}, {620, 210}, H::LimiterThreshold}, {{200, 400, 21}, {1019, 211}, H::CompressorRatio},
      {{200, 400, 21}, {1019, 214}, std::nullopt},
  };
  for (const Case& c : cases) {
    ParameterImage image;
    EXPECT_EQ(bound(image, c.settings).handleAt(c.pointer), c.picked) << c.pointer.x << "," << c.pointer.y;
  }
}

TEST(CompLimCurveGeometry, DragsStoreLimitedCodes) {
  struct Case {
    H handle;
    double y;
    std::optional<int> stored;
  };
  const Settings start{200, 400, 21};  // compressor point at y 310, top 10
  const Case cases[] = {
      {H::CompressorLevel, 0, 400},                                  // not above the limiter
      {H::LimiterThreshold, 510, 200},                               // not below the compressor
      {H::LimiterThreshold, -50, 500}, {H::CompressorRatio, 10, 1},  // level with the top: 1:1
      {H::CompressorRatio, 400, 191},
  };
  for (const Case& c : cases) {
    ParameterImage image;
    auto geometry = bound(image, start);
    const Field field = CompLimCurveGeometry::infoOf(c.handle).field;
    const int before = image.field(Side::Output, kChannel, field);
    EXPECT_EQ(geometry.drag(image, kChannel, c.handle, c.y), c.stored)
        << static_cast<int>(c.handle) << " y " << c.y;
    EXPECT_EQ(image.field(Side::Output, kChannel, field), c.stored.value_or(before));
  }
}

}  // namespace
}  // namespace orvane
