#include "dsp/CompLimCurveGeometry.h"

#include <algorithm>

#include "model/Scales.h"

namespace orvane {

namespace {

constexpr int kUnits = 500;

}  // namespace

CompLimCurveGeometry::CompLimCurveGeometry(PlotRect client) : plot_(client, kUnits) {}

void CompLimCurveGeometry::update(const ParameterImage& image, int channel) {
  compressorLevel_ = StoredCode(image, Side::Output, channel, OutputField::Comp_Level, Scales::kOutputLevel);
  limiterThreshold_ =
      StoredCode(image, Side::Output, channel, OutputField::Lim_Threshold, Scales::kOutputLevel);
  const double ratio = StoredRatio(image, Side::Output, channel, OutputField::Comp_ratio);

  const double k = compressorLevel_;
  const double m = limiterThreshold_;
  const double rightEdgeLevel = k + (kUnits - k) / ratio;
  compressorPoint_ = plot_.at(k, k);
  limiterPoint_ = plot_.at(m, m);
  ratioPoint_ = plot_.at(kUnits, rightEdgeLevel);
  curve_ = {plot_.at(0, 0), compressorPoint_};
  if (m < rightEdgeLevel) {
    curve_.push_back(plot_.at(k + (m - k) * ratio, m));
    curve_.push_back(plot_.at(kUnits, m));
  } else {
    curve_.push_back(ratioPoint_);
  }
}

std::optional<std::array<PlotPoint, 2>> CompLimCurveGeometry::limiterLine() const {
  if (limiterThreshold_ >= kUnits) return std::nullopt;
  return std::array{plot_.at(0, limiterThreshold_), plot_.at(kUnits, limiterThreshold_)};
}

PlotPoint CompLimCurveGeometry::point(Handle handle) const {
  switch (handle) {
    case Handle::CompressorLevel:
      return compressorPoint_;
    case Handle::LimiterThreshold:
      return limiterPoint_;
    case Handle::CompressorRatio:
      break;
  }
  return ratioPoint_;
}

const HandleInfo& CompLimCurveGeometry::infoOf(Handle handle) {
  static constexpr std::array<HandleInfo, kHoverOrder.size()> kInfo{{
      {HandleColour::Green, OutputField::Comp_Level, false},
      {HandleColour::Yellow, OutputField::Lim_Threshold, false},
      {HandleColour::Blue, OutputField::Comp_ratio, true},
  }};
  return kInfo[static_cast<std::size_t>(handle)];
}

std::optional<CompLimCurveGeometry::Handle> CompLimCurveGeometry::handleAt(PlotPoint pointer) const {
  return FirstHandleAt(
      kHoverOrder, [this](Handle handle) { return handleRect(handle); }, pointer);
}

int CompLimCurveGeometry::draggedCode(Handle handle, double y) const {
  const int level = std::clamp(plot_.levelAt(y), 0, kUnits);
  switch (handle) {
    case Handle::CompressorLevel:
      return std::min(level, limiterThreshold_);
    case Handle::LimiterThreshold:
      return std::max(level, compressorLevel_);
    case Handle::CompressorRatio:
      break;
  }
  return DynamicsPlot::ratioCode(compressorPoint_.y - plot_.plot().top, compressorPoint_.y - y);
}

std::optional<int> CompLimCurveGeometry::drag(ParameterImage& image, int channel, Handle handle, double y) {
  update(image, channel);
  const auto stored =
      StoreChangedField(image, Side::Output, channel, infoOf(handle).field, draggedCode(handle, y));
  if (stored) update(image, channel);
  return stored;
}

}  // namespace orvane
