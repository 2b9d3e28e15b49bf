#include "dsp/DynamicsPlot.h"

#include <algorithm>
#include <cmath>

#include "model/Scales.h"
#include "model/ValueScales.h"

namespace orvane {

namespace {

// Room for the level captions left of and below the plot.
constexpr double kMarginLeft = 20;
constexpr double kMarginTop = 10;
constexpr double kMarginRight = 10;
constexpr double kMarginBottom = 15;
constexpr double kHandleHalf = 3;

PlotRect shrink(PlotRect client) {
  PlotRect plot{client.left + kMarginLeft, client.top + kMarginTop, client.right - kMarginRight,
                client.bottom - kMarginBottom};
  // A widget smaller than its margins still gets a one-pixel plot, so the
  // scales never reach zero and a drag never divides by it.
  plot.right = std::max(plot.right, plot.left + 1);
  plot.bottom = std::max(plot.bottom, plot.top + 1);
  return plot;
}

}  // namespace

DynamicsPlot::DynamicsPlot(PlotRect client, int units)
    : client_(client),
      plot_(shrink(client)),
      xScale_(plot_.width() / units),
      yScale_(plot_.height() / units) {}

PlotPoint DynamicsPlot::at(double inputLevel, double outputLevel) const {
  return {plot_.left + inputLevel * xScale_, plot_.bottom - outputLevel * yScale_};
}

int DynamicsPlot::levelAt(double y) const {
  return static_cast<int>(std::lround((plot_.bottom - y) / yScale_));
}

std::array<PlotPoint, 2> DynamicsPlot::diagonal() const {
  return {PlotPoint{plot_.left, plot_.bottom}, PlotPoint{plot_.right, plot_.top}};
}

PlotRect DynamicsPlot::handleRect(PlotPoint centre) {
  return {centre.x - kHandleHalf, centre.y - kHandleHalf, centre.x + kHandleHalf, centre.y + kHandleHalf};
}

int DynamicsPlot::ratioCode(double span, double drop) {
  const double ratio = span / (drop > 0 ? drop : 1.0);
  // Limited before the conversion: a drop of a fraction of a pixel gives a
  // ratio far beyond what an int holds.
  const double code = std::clamp(ratio * 10 - 9, double{Scales::kCompressorRatio.minimum},
                                 double{Scales::kCompressorRatio.maximum});
  return ValueScales::SnapRatio(static_cast<int>(std::lround(code)));
}

int StoredCode(const ParameterImage& image, Side side, int channel, Field field,
               const ParameterScale& scale) {
  return ValueScales::ClampCode(scale, image.field(side, channel, field));
}

double StoredRatio(const ParameterImage& image, Side side, int channel, Field field) {
  return ValueScales::ToUnit(Scales::kCompressorRatio, image.field(side, channel, field));
}

std::optional<int> StoreChangedField(ParameterImage& image, Side side, int channel, Field field, int code) {
  if (image.field(side, channel, field) == code) return std::nullopt;
  image.setField(side, channel, field, code);
  return code;
}

}  // namespace orvane
