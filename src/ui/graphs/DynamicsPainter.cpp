#include "ui/graphs/DynamicsPainter.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace orvane::ui {

namespace {

const QColor kClientBorder(200, 200, 200);
const QColor kPlotBorder(0, 180, 0);
const QColor kGridLine(21, 100, 21);
const QColor kCaption(150, 150, 150);
const QColor kReference(195, 195, 195);
constexpr int kGridStep = 100;
constexpr int kCaptionPixels = 8;
constexpr qreal kCurvePen = 2;

QPointF toQt(PlotPoint p) {
  return {p.x, p.y};
}

QRectF toQt(const PlotRect& r) {
  return {r.left, r.top, r.width(), r.height()};
}

}  // namespace

DynamicsPainter::DynamicsPainter(QPainter& painter, const DynamicsPlot& plot)
    : painter_(painter), plot_(plot) {}

QColor DynamicsPainter::colourOf(HandleColour colour) {
  switch (colour) {
    case HandleColour::Green:
      return {0, 255, 0};
    case HandleColour::Yellow:
      return {255, 255, 0};
    case HandleColour::Blue:
      return {0, 0, 255};
    case HandleColour::Cyan:
      return {0, 255, 255};
    case HandleColour::Magenta:
      break;
  }
  return {255, 0, 255};
}

void DynamicsPainter::frame(const DynamicsAxes& axes) {
  const PlotRect& client = plot_.client();
  const QRectF clientRect = toQt(client);
  painter_.fillRect(clientRect, Qt::black);
  painter_.setBrush(Qt::NoBrush);
  painter_.setPen(kClientBorder);
  painter_.drawRect(clientRect.adjusted(0, 0, -1, -1));
  grid(axes.units);
  painter_.setPen(kPlotBorder);
  painter_.drawRect(toQt(plot_.plot()).adjusted(0, 0, -1, -1));
  captions(axes);
}

void DynamicsPainter::grid(int units) {
  painter_.setPen(kGridLine);
  const PlotRect& plot = plot_.plot();
  for (int u = kGridStep; u < units; u += kGridStep) {
    const PlotPoint p = plot_.at(u, u);
    painter_.drawLine(QPointF(std::round(p.x), plot.top), QPointF(std::round(p.x), plot.bottom - 1));
    painter_.drawLine(QPointF(plot.left, std::round(p.y)), QPointF(plot.right - 1, std::round(p.y)));
  }
}

void DynamicsPainter::captions(const DynamicsAxes& axes) {
  QFont font = painter_.font();
  font.setPixelSize(kCaptionPixels);
  painter_.setFont(font);
  painter_.setPen(kCaption);
  const PlotRect& client = plot_.client();
  const PlotRect& plot = plot_.plot();
  const QFontMetricsF metrics(font);
  const qreal line = metrics.height();
  // Inside the light border: between it and the plot on the left, centred
  // under the grid line below but kept off the right border.
  for (std::size_t k = 0; k < axes.left.size(); ++k) {
    const qreal y = plot_.at(0, axes.units - static_cast<int>(k) * kGridStep).y;
    painter_.drawText(QRectF(client.left + 1, y - line / 2, plot.left - client.left - 2, line),
                      Qt::AlignRight | Qt::AlignVCenter | Qt::TextDontClip,
                      QString::fromLatin1(axes.left[k]));
  }
  for (std::size_t k = 0; k < axes.bottom.size(); ++k) {
    const QString text = QString::fromLatin1(axes.bottom[k]);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal x = plot_.at(static_cast<int>(k + 1) * kGridStep, 0).x;
    const qreal left = std::min(x - width / 2, client.right - 2 - width);
    painter_.drawText(QRectF(left, plot.bottom + 1, width, client.bottom - plot.bottom - 1),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
  }
}

void DynamicsPainter::line(PlotPoint from, PlotPoint to, const QPen& pen) {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setPen(pen);
  painter_.drawLine(toQt(from), toQt(to));
  painter_.restore();
}

void DynamicsPainter::reference(PlotPoint from, PlotPoint to) {
  line(from, to, QPen(kReference, kCurvePen, Qt::DashLine));
}

void DynamicsPainter::lockedDiagonal() {
  const auto [from, to] = plot_.diagonal();
  line(from, to, QPen(Qt::red, kCurvePen));
}

void DynamicsPainter::curve(std::span<const PlotPoint> points, QColor colour) {
  QPolygonF polyline;
  polyline.reserve(static_cast<qsizetype>(points.size()));
  for (PlotPoint p : points) polyline << toQt(p);
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setPen(QPen(colour, kCurvePen));
  painter_.drawPolyline(polyline);
  painter_.restore();
}

void DynamicsPainter::handle(const PlotRect& square, HandleColour colour) {
  painter_.fillRect(toQt(square), colourOf(colour));
}

}  // namespace orvane::ui
