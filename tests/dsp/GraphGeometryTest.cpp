// The EQ graph's scales, marker geometry and drags on a 600 x 240 plot:
// 200 pixels per decade, 2 pixels per dB.

#include <gtest/gtest.h>

#include "dsp/SetGeometry.h"
#include "model/ParameterImage.h"

namespace orvane {
namespace {

constexpr int kW = 600;
constexpr int kH = 240;
const GraphScale kScale(kW, kH);

// A graph point of a plot position.
GraphPoint at(double plotX, double plotY) {
  return {static_cast<int>(std::lround(plotX)) + GraphScale::kLeft,
          static_cast<int>(std::lround(plotY)) + GraphScale::kTop};
}

TEST(GraphScaleTest, ScalesAndTheirInverses) {
  EXPECT_DOUBLE_EQ(kScale.x(20), 0);
  EXPECT_DOUBLE_EQ(kScale.x(200), 200);
  EXPECT_DOUBLE_EQ(kScale.x(20000), 600);
  EXPECT_DOUBLE_EQ(kScale.y(40), 0);
  EXPECT_DOUBLE_EQ(kScale.y(-80), kH);
  EXPECT_EQ(GraphScale(601, kH).frequencyAt(200), 200);  // 601 div 3 = 200 pixels per decade
  const struct {
    double x;
    int hz;
  } columns[] = {{-5, 20}, {0, 20}, {200, 200}, {400, 2000}, {600, 20000}, {650, 20000}, {339.75, 999}};
  for (const auto& c : columns) EXPECT_EQ(kScale.frequencyAt(c.x), c.hz) << c.x;
  const struct {
    double y;
    int db;
  } rows[] = {{0, 40}, {75.2, 2}, {75, 3}, {80, 0}, {80.9, 0}, {81, -1}, {85, -3}, {240, -80}};
  for (const auto& r : rows) EXPECT_EQ(kScale.gainAt(r.y), r.db) << r.y;  // 2.4 -> 2, 2.5 -> 3, -2.5 -> -3
  for (int db = -80; db <= 40; ++db) EXPECT_EQ(kScale.gainAt(kScale.y(db)), db);
}

class GraphGeometryTest : public testing::Test {
 protected:
  void SetUp() override {
    image.setBand(Side::Input, 0, 0, {1000, 460, 25, 0, 0});  // peaking +6 dB
    image.setBand(Side::Input, 0, 1, {100, 400, 25, 0, 1});   // low shelf, flat
    image.setBand(Side::Input, 0, 2, {8000, 370, 25, 0, 2});  // high shelf -3 dB
    image.setBand(Side::Input, 0, 3, {20, 420, 25, 0, 0});    // at the bottom of the range
    image.setCrossover(Side::Input, 0, {100, 0, 2, 5000, 0, 2});
    set.BuildInput(image, 0);
    geometry.Layout(kScale, set);
  }
  // Presses element `index` on its marker's centre and drags it to `to`.
  bool dragBand(int index, GraphPoint to) {
    ElementGeometry& g = geometry.element(index);
    g.PressMarker(g.marker().centre());
    return g.DragBand(set.element(index), to);
  }
  bool dragCrossover(int index, GraphPoint to, int other) {
    ElementGeometry& g = geometry.element(index);
    g.PressMarker(g.marker().centre());
    return g.DragCrossover(set.element(index), to, other);
  }

  ParameterImage image;
  CKTVEQ set;
  SetGeometry geometry;
};

// Laying the plot out again (a resize) changes geometry only: gains kept
// aside by the EQ bypass or by a switched-off band come back afterwards.
TEST_F(GraphGeometryTest, LayingOutAgainKeepsTheGainsSetAside) {
  const struct {
    const char* what;
    void (*setAside)(CKTVEQ&);
    void (*restore)(CKTVEQ&);
  } cases[] = {
      {"bypass", [](CKTVEQ& s) { s.SetAllBypass(true); }, [](CKTVEQ& s) { s.SetAllBypass(false); }},
      {"band off", [](CKTVEQ& s) { s.element(0).SetBandOff(true); },
       [](CKTVEQ& s) { s.element(0).SetBandOff(false); }},
  };
  for (const auto& c : cases) {
    SetUp();
    c.setAside(set);
    EXPECT_EQ(image.band(Side::Input, 0, 0).Gain, 400) << c.what;
    geometry.Layout(GraphScale(kW + 150, kH + 60), set);
    c.restore(set);
    EXPECT_EQ(image.band(Side::Input, 0, 0).Gain, 460) << c.what;
    EXPECT_EQ(set.element(0).GainCode(), 460) << c.what;
    EXPECT_EQ(image.band(Side::Input, 0, 2).Gain, 370) << c.what;
    EXPECT_EQ(set.element(2).IsFlat(), false) << c.what;
  }
}

TEST_F(GraphGeometryTest, MarkersHandlesLabelsAndOutline) {
  const ElementGeometry& band = geometry.element(0);
  EXPECT_EQ(band.marker(),
            (GraphRect{static_cast<int>(std::lround(kScale.x(1000))) - 8 + 35, 68 - 8 + 10, 16, 16}));
  // The handles sit 10 pixels outside the bandwidth's edges, 10 below a raised marker.
  const double spread = std::pow(2.0, set.element(0).bandwidth());
  EXPECT_NEAR(band.leftHandle().centre().x, kScale.x(1000 / spread) + 25, 1);
  EXPECT_NEAR(band.rightHandle().centre().x, kScale.x(1000 * spread) + 45, 1);
  EXPECT_EQ(band.leftHandle().centre().y, band.marker().centre().y + 10);
  EXPECT_EQ(band.label().width, 200);
  EXPECT_EQ(band.label().top, band.marker().top + 35);
  // A lowered band's handles sit above it and its label around it.
  EXPECT_EQ(geometry.element(2).leftHandle().centre().y, geometry.element(2).marker().centre().y - 10);
  EXPECT_EQ(geometry.element(2).label().top, geometry.element(2).marker().top - 50);
  // The outline closes on the 0 dB line at both ends; its peak is the band's gain.
  const auto& outline = band.outline();
  EXPECT_FLOAT_EQ(outline.front().y, 90);
  EXPECT_FLOAT_EQ(outline.back().x, kW + 35);
  EXPECT_NEAR(outline[137].y, 90 - 12, 0.5);  // 1000 Hz is grid point 136

  // "LC" sits at -40 dB, "HC" at -45 dB; at the right edge "HC" narrows.
  EXPECT_EQ(geometry.element(8).marker().top, 10 + 160);
  EXPECT_EQ(geometry.element(9).marker().top, 10 + 170);
  EXPECT_EQ(geometry.element(9).marker().width, 26);
  image.setCrossover(Side::Input, 0, {100, 0, 2, 20000, 0, 2});
  set.Rebind();
  geometry.PlaceAll(set);
  EXPECT_EQ(geometry.element(9).marker(), (GraphRect{kW - 20 + 35, 10 + 170, 20, 16}));
  EXPECT_EQ(geometry.element(9).label().right(), kW + 35);

  // The number of a band at 20 Hz leans right, at 20 kHz (the edge) left.
  EXPECT_EQ(geometry.element(3).markerAlign(set.element(3)), MarkerAlign::Right);
  EXPECT_EQ(geometry.element(0).markerAlign(set.element(0)), MarkerAlign::Centre);
  EXPECT_EQ(geometry.element(9).markerAlign(set.element(9)), MarkerAlign::Left);
}

TEST_F(GraphGeometryTest, BandDragsWriteFrequencyAndWholeDecibels) {
  const struct {
    double plotY;
    int gainCode;
  } rows[] = {{-30, 600}, {kScale.y(25), 600}, {kScale.y(-55), 0}, {80.4, 400}, {kScale.y(-3), 370}};
  for (const auto& r : rows) {
    ASSERT_TRUE(dragBand(0, at(kScale.x(500), r.plotY)));
    EXPECT_EQ(image.band(Side::Input, 0, 0).Gain, r.gainCode) << r.plotY;
    EXPECT_EQ(image.band(Side::Input, 0, 0).FQCY, 502);  // column 280: 502.4 Hz, truncated
  }
  // 0 dB switches the band off; its readout says so.
  ASSERT_TRUE(dragBand(0, at(kScale.x(500), 80.4)));
  EXPECT_TRUE(set.element(0).isBandOff());
  EXPECT_EQ(set.element(0).GainText(), "0.0dB");

  // Shelves keep to their side of 2000 Hz; the pointer beyond the plot stops at its edges.
  ASSERT_TRUE(dragBand(1, at(kW + 80, kScale.y(6))));
  EXPECT_EQ(image.band(Side::Input, 0, 1).FQCY, 2000);
  ASSERT_TRUE(dragBand(2, at(-60, kScale.y(6))));
  EXPECT_EQ(image.band(Side::Input, 0, 2).FQCY, 2000);
  ASSERT_TRUE(dragBand(0, at(-60, kScale.y(6))));
  EXPECT_EQ(image.band(Side::Input, 0, 0).FQCY, 20);
  // "LC" and "HC" are no bands.
  EXPECT_FALSE(dragBand(8, at(300, 100)));
  // The worker finds the band's row changed.
  EXPECT_TRUE(image.takeNextChangedRow(Side::Input).has_value());
}

TEST_F(GraphGeometryTest, BandwidthHandlesStayWithinTheirOctaves) {
  ElementGeometry& band = geometry.element(0);
  const int centre = static_cast<int>(std::lround(kScale.x(1000))) + 35;
  const struct {
    int x;
    bool left;
    int code;
  } drags[] = {
      {centre - 700, true, 295}, {centre, true, 0}, {centre + 100, false, 161}, {centre + 900, false, 295}};
  for (const auto& d : drags) {
    ASSERT_TRUE(band.DragHandle(set.element(0), d.x, d.left));
    EXPECT_EQ(image.band(Side::Input, 0, 0).Q, d.code) << d.x;
  }
  EXPECT_FALSE(geometry.element(1).DragHandle(set.element(1), centre, true));  // shelves have none
}

TEST_F(GraphGeometryTest, CrossoverCornersMeetButNeverCross) {
  ASSERT_TRUE(dragCrossover(8, at(kScale.x(10000), 250), 5000));
  EXPECT_EQ(image.crossover(Side::Input, 0).XFQCY_Lo, 5000);
  ASSERT_TRUE(dragCrossover(9, at(kScale.x(50), 250), 5000));
  EXPECT_EQ(image.crossover(Side::Input, 0).XFQCY_Hi, 5000);
  ASSERT_TRUE(dragCrossover(9, at(kScale.x(12000), 250), 5000));
  EXPECT_EQ(image.crossover(Side::Input, 0).XFQCY_Hi, 12051);  // column 556
  // "LC" pushed to the left edge switches the high-pass off.
  ASSERT_TRUE(dragCrossover(8, at(-20, 250), 12000));
  EXPECT_EQ(image.crossover(Side::Input, 0).XFQCY_Lo, 20);
  for (double db : set.element(8).response()) EXPECT_EQ(db, 0);
}

TEST_F(GraphGeometryTest, ThePointerFindsTheFirstUnlockedMarker) {
  const GraphPoint onBand = geometry.element(0).marker().centre();
  const GraphPoint onLc = geometry.element(8).marker().centre();
  EXPECT_EQ(geometry.elementAt(set, onBand, false, false), 0);
  EXPECT_EQ(geometry.elementAt(set, onBand, true, false), std::nullopt);
  EXPECT_EQ(geometry.elementAt(set, onLc, true, false), 8);
  EXPECT_EQ(geometry.elementAt(set, onLc, false, true), std::nullopt);
  EXPECT_EQ(geometry.elementAt(set, {0, 0}, false, false), std::nullopt);
}

}  // namespace
}  // namespace orvane
