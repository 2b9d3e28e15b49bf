#pragma once

// What the input page's dynamics graph draws and how its points drag: the AGC
// lifts quiet signals from its threshold towards its target level, and the
// compressor above its level bends the curve down to the right edge. Output
// level over input level, 1000 level codes per axis (-80..+20 dB); the
// compressor level code k sits at k + 500 on that scale.

#include <array>
#include <optional>

#include "dsp/DynamicsPlot.h"

namespace orvane {

class AgcCurveGeometry {
 public:
  // The draggable points, in the order they are painted.
  enum class Handle {
    Threshold,        // on the 1:1 line at the AGC threshold
    Ratio,            // what the AGC makes of a signal at its threshold
    Target,           // on the 1:1 line at the AGC target level
    CompressorLevel,  // on the 1:1 line at the compressor level
    CompressorRatio,  // the compressor line at the right edge
  };
  static constexpr std::array<Handle, 5> kHandles{Handle::Threshold, Handle::Ratio, Handle::Target,
                                                  Handle::CompressorLevel, Handle::CompressorRatio};

  explicit AgcCurveGeometry(PlotRect client);

  // Recomputes the points from input `channel` of the edited image.
  void update(const ParameterImage& image, int channel);

  const DynamicsPlot& plot() const { return plot_; }
  // The transfer curve in drawing order: the start two pixels above the
  // bottom-left corner, then threshold, ratio, target, compressor level and
  // compressor ratio points.
  const std::array<PlotPoint, 6>& curve() const { return curve_; }
  PlotPoint point(Handle handle) const;
  PlotRect handleRect(Handle handle) const { return DynamicsPlot::handleRect(point(handle)); }

  static const HandleInfo& infoOf(Handle handle);

  // Where points coincide at the top edge (threshold or target at +20 dB)
  // the order makes the one that can still move come first.
  std::array<Handle, 5> hoverOrder() const;
  std::optional<Handle> handleAt(PlotPoint pointer) const;

  // Moves `handle` to pointer height `y`: the new code, limited so the
  // threshold stays at or below the target and the target at or below the
  // compressor level, is written to the edited block of input `channel`
  // when it differs from the stored one, and returned then.
  std::optional<int> drag(ParameterImage& image, int channel, Handle handle, double y);

 private:
  int draggedCode(Handle handle, double y) const;

  DynamicsPlot plot_;
  int threshold_ = 0;
  int target_ = 0;
  int compressorLevel_ = 0;  // on the AGC scale
  std::array<PlotPoint, 6> curve_{};
};

}  // namespace orvane
