#pragma once

// What the output page's dynamics graph draws and how its points drag: the
// compressor bends the curve down above its level, the limiter caps it at its
// threshold. Output level over input level, 500 level codes per axis
// (-30..+20 dB).

#include <array>
#include <optional>
#include <vector>

#include "dsp/DynamicsPlot.h"

namespace orvane {

class CompLimCurveGeometry {
 public:
  enum class Handle {
    CompressorLevel,   // on the 1:1 line at the compressor level
    LimiterThreshold,  // on the 1:1 line at the limiter threshold
    CompressorRatio,   // the compressor line at the right edge
  };
  // Painting order; the hover order is the declaration order.
  static constexpr std::array<Handle, 3> kHandles{Handle::CompressorRatio, Handle::CompressorLevel,
                                                  Handle::LimiterThreshold};
  static constexpr std::array<Handle, 3> kHoverOrder{Handle::CompressorLevel, Handle::LimiterThreshold,
                                                     Handle::CompressorRatio};

  explicit CompLimCurveGeometry(PlotRect client);

  // Recomputes the points from output `channel` of the edited image.
  void update(const ParameterImage& image, int channel);

  const DynamicsPlot& plot() const { return plot_; }
  // The transfer curve: from the bottom-left corner along the 1:1 line to
  // the compressor level, then along the compressor line to the right edge,
  // or, where the limiter caps it first, to the limiter and on flat.
  const std::vector<PlotPoint>& curve() const { return curve_; }
  // The limiter's level across the plot; none while the limiter is off.
  std::optional<std::array<PlotPoint, 2>> limiterLine() const;
  PlotPoint point(Handle handle) const;
  PlotRect handleRect(Handle handle) const { return DynamicsPlot::handleRect(point(handle)); }

  static const HandleInfo& infoOf(Handle handle);

  std::optional<Handle> handleAt(PlotPoint pointer) const;

  // Moves `handle` to pointer height `y`: the new code, limited so the
  // compressor level stays at or below the limiter threshold, is written to
  // the edited block of output `channel` when it differs from the stored
  // one, and returned then.
  std::optional<int> drag(ParameterImage& image, int channel, Handle handle, double y);

 private:
  int draggedCode(Handle handle, double y) const;

  DynamicsPlot plot_;
  int compressorLevel_ = 0;
  int limiterThreshold_ = 0;
  PlotPoint compressorPoint_;
  PlotPoint limiterPoint_;
  PlotPoint ratioPoint_;
  std::vector<PlotPoint> curve_;
};

}  // namespace orvane
