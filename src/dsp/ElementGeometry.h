#pragma once

// Where one filter element appears on the EQ graph and how the mouse edits
// it: the outline of its response (the shaded area of the selected element),
// its marker (the band number, "LC" or "HC"), the two bandwidth handles of a
// peaking band, its label, and the drags that turn pointer positions into
// frequency, gain and bandwidth written to the element's record. Positions
// are graph pixels (the plot offset included). Reads and edits a CFilter;
// the filter stays free of drawing.

#include <array>

#include "dsp/CFilter.h"
#include "dsp/GraphScale.h"

namespace orvane {

struct GraphPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(GraphPoint, GraphPoint) = default;
};

struct GraphRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  int right() const { return left + width; }
  int bottom() const { return top + height; }
  GraphPoint centre() const { return {left + width / 2, top + height / 2}; }
  bool contains(GraphPoint p) const { return p.x >= left && p.x < right() && p.y >= top && p.y < bottom(); }
  friend bool operator==(const GraphRect&, const GraphRect&) = default;
};

// How the marker's text sits in its rectangle.
enum class MarkerAlign { Left, Centre, Right };

struct OutlinePoint {
  float x = 0;
  float y = 0;
};

class ElementGeometry {
 public:
  static constexpr std::size_t kOutlinePoints = kGridPoints + 2;
  using Outline = std::array<OutlinePoint, kOutlinePoints>;

  // Takes the plot's size and places the outline's columns.
  void Layout(const GraphScale& scale);
  // Follows the element's values: outline rows, marker, handles and label.
  void Place(const CFilter& element);

  const Outline& outline() const { return outline_; }
  const GraphRect& marker() const { return marker_; }
  const GraphRect& leftHandle() const { return leftHandle_; }
  const GraphRect& rightHandle() const { return rightHandle_; }
  const GraphRect& label() const { return label_; }
  // Towards the plot: right-aligned at 20 Hz and below, left-aligned at the
  // right edge and at 20 kHz, centred between.
  MarkerAlign markerAlign(const CFilter& element) const;

  // The marker was pressed at `p`: a drag keeps the marker where it was
  // taken relative to the pointer.
  void PressMarker(GraphPoint p);
  // A band's marker dragged to `p`: frequency and whole-dB gain (-40..+20;
  // exactly 0 switches the band off). The high-pass and low-pass ignore it.
  bool DragBand(CFilter& element, GraphPoint p);
  // A peaking band's left or right bandwidth handle dragged to column `x`.
  bool DragHandle(CFilter& element, int x, bool left);
  // "LC" or "HC" dragged to `p`; `otherHz` is the other corner, which the
  // two may meet but never cross. "LC" at the left edge switches it off.
  bool DragCrossover(CFilter& element, GraphPoint p, int otherHz);

 private:
  void placeBand(const CFilter& element);
  void placeCrossover(const CFilter& element);
  GraphPoint plotPoint(GraphPoint p) const;

  GraphScale scale_;
  Outline outline_{};
  GraphRect marker_;
  GraphRect leftHandle_;
  GraphRect rightHandle_;
  GraphRect label_;
  GraphPoint pressOffset_;
};

}  // namespace orvane
