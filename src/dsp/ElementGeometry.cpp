#include "dsp/ElementGeometry.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

constexpr int kMarkerSize = 16;
constexpr int kHandleSize = 8;
constexpr int kHandleOffset = 10;     // handles sit this far outside the bandwidth and off the marker
constexpr int kLabelWidth = 200;      // a band's label
constexpr int kCrossoverWidth = 26;   // "LC" / "HC" marker
constexpr int kCrossoverNarrow = 20;  // ... where it meets the right edge
constexpr int kCrossoverLabelWidth = 66;
constexpr int kGainCodeZero = CFilter::kFlatGainCode;
constexpr int kGainCodesPerDb = 10;
constexpr int kHighestGainDb = 20;
constexpr int kLowestGainDb = -40;
constexpr double kNarrowestOct = 0.05;
constexpr double kWidestOct = 3.0;

int rounded(double v) {
  return static_cast<int>(std::lround(v));
}

// A rectangle of `size` centred on (x, y).
GraphRect around(double x, double y, int width, int height) {
  return {rounded(x) - width / 2, rounded(y) - height / 2, width, height};
}

}  // namespace

void ElementGeometry::Layout(const GraphScale& scale) {
  scale_ = scale;
  outline_.front().x = GraphScale::kLeft;
  for (std::size_t i = 0; i < kGridPoints; ++i)
    outline_[i + 1].x = static_cast<float>(scale.x(FreqGrid[i]) + GraphScale::kLeft);
  outline_.back().x = static_cast<float>(scale.width() + GraphScale::kLeft);
}

void ElementGeometry::Place(const CFilter& element) {
  const auto zero = static_cast<float>(scale_.y(0) + GraphScale::kTop);
  outline_.front().y = zero;
  outline_.back().y = zero;
  const CFilter::Response& response = element.response();
  for (std::size_t i = 0; i < kGridPoints; ++i)
    outline_[i + 1].y = static_cast<float>(scale_.y(response[i]) + GraphScale::kTop);
  if (isCrossoverKind(element.kind()))
    placeCrossover(element);
  else
    placeBand(element);
}

// The marker stays (almost) inside the plot however high, low or far out the
// band is; the handles mark the bandwidth's edges and the label hangs below
// a raised band, around a lowered one.
void ElementGeometry::placeBand(const CFilter& element) {
  const int w = scale_.width();
  const int h = scale_.height();
  const double hz = element.frequency();
  GraphRect m = around(scale_.x(hz), scale_.y(element.GainDb()), kMarkerSize, kMarkerSize);
  m.left = std::max(m.left, -kMarkerSize / 2);
  m.top = std::max(m.top, 0);
  if (m.right() > w + kMarkerSize / 2) m.left = w + kMarkerSize / 2 - m.width;
  if (m.bottom() > h + kMarkerSize / 2) m.top = h + kMarkerSize / 2 - m.height;
  m.left += GraphScale::kLeft;
  m.top += GraphScale::kTop;
  marker_ = m;

  const double spread = std::pow(2.0, element.bandwidth());
  const int handleY = m.centre().y + (element.GainDb() >= 0 ? kHandleOffset : -kHandleOffset);
  leftHandle_ =
      around(scale_.x(hz / spread) + GraphScale::kLeft - kHandleOffset, handleY, kHandleSize, kHandleSize);
  rightHandle_ =
      around(scale_.x(hz * spread) + GraphScale::kLeft + kHandleOffset, handleY, kHandleSize, kHandleSize);

  GraphRect label{m.centre().x - kLabelWidth / 2, 0, kLabelWidth, 0};
  label.left = std::clamp(label.left, GraphScale::kLeft, GraphScale::kLeft + w - kLabelWidth);
  if (element.GainCode() >= kGainCodeZero) {
    label.top = m.top + 35;
    label.height = m.bottom() + 85 - label.top;
  } else {
    label.top = m.top - 50;
    label.height = 100;
  }
  label_ = label;
}

void ElementGeometry::placeCrossover(const CFilter& element) {
  const int w = scale_.width();
  const bool highPass = element.kind() == FilterKind::HighPass;
  GraphRect m{std::max(rounded(scale_.x(element.frequency())) - kMarkerSize / 2, -kMarkerSize / 2),
              rounded(scale_.y(highPass ? -40 : -45)), kCrossoverWidth, kMarkerSize};
  if (m.right() > w) m = {w - kCrossoverNarrow, m.top, kCrossoverNarrow, m.height};
  m.left += GraphScale::kLeft;
  m.top += GraphScale::kTop;
  marker_ = m;
  leftHandle_ = rightHandle_ = GraphRect{};

  const int below = highPass ? 25 : 20;
  GraphRect label{std::min(m.left, GraphScale::kLeft + w - kCrossoverLabelWidth), m.top + below,
                  kCrossoverLabelWidth, m.height};
  label_ = label;
}

MarkerAlign ElementGeometry::markerAlign(const CFilter& element) const {
  if (marker_.right() >= GraphScale::kLeft + scale_.width()) return MarkerAlign::Left;
  if (element.frequency() <= GraphScale::kLowestHz) return MarkerAlign::Right;
  if (element.frequency() < GraphScale::kHighestHz) return MarkerAlign::Centre;
  return MarkerAlign::Left;
}

GraphPoint ElementGeometry::plotPoint(GraphPoint p) const {
  return {p.x - pressOffset_.x - GraphScale::kLeft, p.y - pressOffset_.y - GraphScale::kTop};
}

void ElementGeometry::PressMarker(GraphPoint p) {
  const GraphPoint centre = marker_.centre();
  pressOffset_ = {p.x - centre.x, p.y - centre.y};
}

bool ElementGeometry::DragBand(CFilter& element, GraphPoint p) {
  if (!isBandKind(element.kind())) return false;
  const GraphPoint q = plotPoint(p);
  int hz = scale_.frequencyAt(std::clamp(q.x, 0, scale_.width()));
  const int db =
      std::clamp(scale_.gainAt(std::clamp(q.y, 0, scale_.height())), kLowestGainDb, kHighestGainDb);
  if (element.kind() == FilterKind::LowShelf) hz = std::min(hz, CFilter::kShelfBoundaryHz);
  if (element.kind() == FilterKind::HighShelf) hz = std::max(hz, CFilter::kShelfBoundaryHz);
  element.SetFrequency(hz);
  element.SetGainCode(kGainCodeZero + db * kGainCodesPerDb);
  element.Recompute(true);
  Place(element);
  return true;
}

bool ElementGeometry::DragHandle(CFilter& element, int x, bool left) {
  if (element.kind() != FilterKind::Peaking) return false;
  const double fx = scale_.frequencyAt(x - GraphScale::kLeft);
  const double f0 = element.frequency();
  const double octaves = std::log10(left ? f0 / fx : fx / f0) / std::log10(2.0);
  element.SetBandwidthOct(std::clamp(octaves, kNarrowestOct, kWidestOct));
  element.SetBandwidthCode(element.BandwidthCode());
  element.Recompute(false);
  Place(element);
  return true;
}

bool ElementGeometry::DragCrossover(CFilter& element, GraphPoint p, int otherHz) {
  if (!isCrossoverKind(element.kind())) return false;
  element.setFrequencyBounds(GraphScale::kLowestHz, GraphScale::kHighestHz);
  const bool highPass = element.kind() == FilterKind::HighPass;
  const int x = plotPoint(p).x;
  int hz = 0;
  if (x <= 0 && highPass) {
    hz = CFilter::kHighPassOffHz;
  } else {
    const int fx = scale_.frequencyAt(std::min(x, scale_.width()));
    hz = highPass ? std::min(fx, otherHz) : std::max(fx, otherHz);
  }
  element.SetFrequency(hz);
  element.Recompute(false);
  Place(element);
  return true;
}

}  // namespace orvane
