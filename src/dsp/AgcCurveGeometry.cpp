#include "dsp/AgcCurveGeometry.h"

#include <algorithm>

#include "model/Scales.h"

namespace orvane {

namespace {

constexpr int kUnits = 1000;
// The compressor's 0..500 codes start at -30 dB, 50 dB above the AGC's.
constexpr int kCompressorOffset = 500;
// The curve's start is lifted off the bottom edge so the 2-pixel pen shows.
constexpr double kStartLift = 2;

std::size_t indexOf(AgcCurveGeometry::Handle handle) {
  return static_cast<std::size_t>(handle) + 1;
}

}  // namespace

AgcCurveGeometry::AgcCurveGeometry(PlotRect client) : plot_(client, kUnits) {}

void AgcCurveGeometry::update(const ParameterImage& image, int channel) {
  threshold_ = StoredCode(image, Side::Input, channel, InputField::AGC_Threshold, Scales::kAgcLevel);
  target_ = StoredCode(image, Side::Input, channel, InputField::AGC_TargetLevel, Scales::kAgcLevel);
  compressorLevel_ =
      StoredCode(image, Side::Input, channel, InputField::Comp_Level, Scales::kInputCompressorLevel) +
      kCompressorOffset;
  const double agcRatio = StoredRatio(image, Side::Input, channel, InputField::AGC_Ratio);
  const double compressorRatio = StoredRatio(image, Side::Input, channel, InputField::Comp_ratio);

  const double t = threshold_;
  const double g = target_;
  const double l = compressorLevel_;
  const PlotPoint start = plot_.at(0, 0);
  curve_ = {PlotPoint{start.x, start.y - kStartLift},
            plot_.at(t, t),
            plot_.at(t, g - (g - t) / agcRatio),
            plot_.at(g, g),
            plot_.at(l, l),
            plot_.at(kUnits, l + (kUnits - l) / compressorRatio)};
}

PlotPoint AgcCurveGeometry::point(Handle handle) const {
  return curve_[indexOf(handle)];
}

const HandleInfo& AgcCurveGeometry::infoOf(Handle handle) {
  static constexpr std::array<HandleInfo, kHandles.size()> kInfo{{
      {HandleColour::Green, InputField::AGC_Threshold, false},
      {HandleColour::Yellow, InputField::AGC_Ratio, true},
      {HandleColour::Blue, InputField::AGC_TargetLevel, false},
      {HandleColour::Cyan, InputField::Comp_Level, false},
      {HandleColour::Magenta, InputField::Comp_ratio, true},
  }};
  return kInfo[static_cast<std::size_t>(handle)];
}

std::array<AgcCurveGeometry::Handle, 5> AgcCurveGeometry::hoverOrder() const {
  using enum Handle;
  if (threshold_ == kUnits) return {Threshold, Target, CompressorLevel, CompressorRatio, Ratio};
  if (target_ != kUnits) return {CompressorLevel, CompressorRatio, Target, Ratio, Threshold};
  return {Target, CompressorLevel, CompressorRatio, Ratio, Threshold};
}

std::optional<AgcCurveGeometry::Handle> AgcCurveGeometry::handleAt(PlotPoint pointer) const {
  return FirstHandleAt(
      hoverOrder(), [this](Handle handle) { return handleRect(handle); }, pointer);
}

int AgcCurveGeometry::draggedCode(Handle handle, double y) const {
  const int level = plot_.levelAt(y);
  switch (handle) {
    case Handle::Threshold:
      return std::min(std::clamp(level, 0, kUnits), target_);
    case Handle::Target:
      return std::min(std::max(std::clamp(level, 0, kUnits), threshold_), compressorLevel_);
    case Handle::CompressorLevel:
      return std::max(std::clamp(level - kCompressorOffset, 0, kUnits - kCompressorOffset),
                      target_ - kCompressorOffset);
    case Handle::Ratio: {
      const double targetY = point(Handle::Target).y;
      return DynamicsPlot::ratioCode(point(Handle::Threshold).y - targetY, y - targetY);
    }
    case Handle::CompressorRatio:
      break;
  }
  const double levelY = point(Handle::CompressorLevel).y;
  return DynamicsPlot::ratioCode(levelY - plot_.plot().top, levelY - y);
}

std::optional<int> AgcCurveGeometry::drag(ParameterImage& image, int channel, Handle handle, double y) {
  update(image, channel);
  const auto stored =
      StoreChangedField(image, Side::Input, channel, infoOf(handle).field, draggedCode(handle, y));
  if (stored) update(image, channel);
  return stored;
}

}  // namespace orvane
