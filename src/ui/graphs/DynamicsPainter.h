#pragma once

// Draws the pieces of a dynamics graph: the frame (black client with a light
// border, green plot border, grid every 100 level codes and the level
// captions), the grey dashed reference lines, the red diagonal of a locked
// function, the transfer curve in the channel colour and the coloured handle
// squares. The graph decides what to draw and in which order.

#include <QColor>
#include <QPainter>
#include <span>

#include "dsp/DynamicsPlot.h"

namespace orvane::ui {

// The axes of one graph: the level codes along each, and the captions of
// the left axis from the top down to level 0 and of the bottom axis from
// level 100 rightwards, one per grid step.
struct DynamicsAxes {
  int units;
  std::span<const char* const> left;
  std::span<const char* const> bottom;
};

class DynamicsPainter {
 public:
  DynamicsPainter(QPainter& painter, const DynamicsPlot& plot);

  static QColor colourOf(HandleColour colour);

  void frame(const DynamicsAxes& axes);
  void reference(PlotPoint from, PlotPoint to);
  void lockedDiagonal();
  void curve(std::span<const PlotPoint> points, QColor colour);
  void handle(const PlotRect& square, HandleColour colour);

 private:
  void line(PlotPoint from, PlotPoint to, const QPen& pen);
  void grid(int units);
  void captions(const DynamicsAxes& axes);

  QPainter& painter_;
  const DynamicsPlot& plot_;
};

}  // namespace orvane::ui
