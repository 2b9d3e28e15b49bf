#pragma once

// Draws the pieces of the EQ graph, each in its own colour: the plot with
// its border, the shaded area of the selected element, the grid with its
// captions, channel curves, marker texts, bandwidth handles and the label
// of the selected element. The graph decides what to draw and in which
// order.

#include <QColor>
#include <QPainter>

#include "dsp/SetGeometry.h"

namespace orvane::ui {

class EqGraphPainter {
 public:
  EqGraphPainter(QPainter& painter, const GraphScale& scale);

  static QColor colourOf(ChannelColour colour) { return {colour.red, colour.green, colour.blue}; }

  // Black plot; its border green, or white when no channel is shown.
  void plot(bool noChannel);
  void shade(const ElementGeometry::Outline& outline);
  void grid();
  void curve(const CKTVEQ& set);
  void markerText(const GraphRect& marker, const QString& text, MarkerAlign align);
  void handles(const ElementGeometry& element, QColor colour);
  void label(const GraphRect& rect, const QString& text);

 private:
  QRect plotRect() const;

  QPainter& painter_;
  const GraphScale& scale_;
};

}  // namespace orvane::ui
