#pragma once

// The coordinate frame shared by the two dynamics graphs of the channel pages
// (input AGC and compressor, output compressor and limiter). Both plot output
// level over input level with the stored level codes as units, so a point of
// the curve and the code a drag writes convert through the same rules.

#include <array>
#include <cstddef>
#include <optional>

#include "model/BlockLayout.h"
#include "model/ParameterImage.h"
#include "model/ParameterScale.h"

namespace orvane {

// A position in the graph widget's client pixels (y grows downwards).
struct PlotPoint {
  double x = 0;
  double y = 0;

  friend constexpr bool operator==(PlotPoint, PlotPoint) = default;
};

struct PlotRect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;

  double width() const { return right - left; }
  double height() const { return bottom - top; }
  // Left and top edges belong to the rectangle, right and bottom do not.
  bool contains(PlotPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend constexpr bool operator==(const PlotRect&, const PlotRect&) = default;
};

// The fixed colour a draggable point is filled with.
enum class HandleColour { Green, Yellow, Blue, Cyan, Magenta };

// What a draggable point edits and how it shows: its colour, the block field
// it writes, and whether it sets a ratio (moved up and down only; the other
// points move along the diagonal).
struct HandleInfo {
  HandleColour colour;
  Field field;
  bool adjustsRatio;
};

class DynamicsPlot {
 public:
  // `client` is the widget's area; `units` the level codes along each axis.
  DynamicsPlot(PlotRect client, int units);

  const PlotRect& client() const { return client_; }
  // The client area less the room for the axis captions.
  const PlotRect& plot() const { return plot_; }
  double xScale() const { return xScale_; }
  double yScale() const { return yScale_; }

  PlotPoint at(double inputLevel, double outputLevel) const;
  // The level code at pointer height `y`, to the nearest whole code and not
  // yet limited to the axis.
  int levelAt(double y) const;
  // Bottom-left to top-right corner: output equals input.
  std::array<PlotPoint, 2> diagonal() const;

  // The 6 x 6 square the pointer grabs a point by.
  static PlotRect handleRect(PlotPoint centre);

  // Ratio code of a ratio handle: `span` is the pointer travel a 1:1 line
  // would make, `drop` the travel it made; a drop of zero or less counts as
  // one pixel. The code is snapped to the ratios the device holds (1..191).
  static int ratioCode(double span, double drop);

 private:
  PlotRect client_;
  PlotRect plot_;
  double xScale_;
  double yScale_;
};

// The first handle in `order` whose square holds `pointer`: where squares
// overlap, the order decides which point a press picks up.
template <class Handle, std::size_t N, class RectOf>
std::optional<Handle> FirstHandleAt(const std::array<Handle, N>& order, RectOf rectOf, PlotPoint pointer) {
  for (Handle handle : order)
    if (rectOf(handle).contains(pointer)) return handle;
  return std::nullopt;
}

// A field of the edited block limited to its scale: a damaged program file
// still draws a curve inside the plot.
int StoredCode(const ParameterImage& image, Side side, int channel, Field field, const ParameterScale& scale);
// The ratio (1.0..20.0) a ratio field of the edited block holds.
double StoredRatio(const ParameterImage& image, Side side, int channel, Field field);

// Writes `code` into the edited block when it differs from what is stored,
// so the communication worker sends the row; returns it when written.
std::optional<int> StoreChangedField(ParameterImage& image, Side side, int channel, Field field, int code);

}  // namespace orvane
