#include "ui/graphs/EqGraphPainter.h"

#include <QPainterPath>
#include <array>

namespace orvane::ui {

namespace {

const QColor kBorder(0, 180, 0);
const QColor kGridLine(21, 100, 21);
const QColor kCaption(100, 100, 100);
const QColor kShade(68, 86, 98);

// The vertical grid lines: 20, 30 .. 100, 200 .. 1000, 2000 .. 10000 Hz.
constexpr std::array<int, 27> kGridHz{20,   30,   40,   50,   60,   70,   80,   90,   100,
                                      200,  300,  400,  500,  600,  700,  800,  900,  1000,
                                      2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};

struct Caption {
  int hz;
  const char* text;
};
constexpr std::array<Caption, 10> kFrequencyCaptions{{{20, "20"},
                                                      {50, "50"},
                                                      {100, "100"},
                                                      {200, "200"},
                                                      {500, "500"},
                                                      {1000, "1K"},
                                                      {2000, "2K"},
                                                      {5000, "5K"},
                                                      {10000, "10K"},
                                                      {20000, "20K"}}};
constexpr std::array<const char*, 7> kGainCaptions{"+40", "+20", "0dB", "-20", "-40", "-60", "-80"};

QRect toQt(const GraphRect& r) {
  return {r.left, r.top, r.width, r.height};
}

}  // namespace

EqGraphPainter::EqGraphPainter(QPainter& painter, const GraphScale& scale)
    : painter_(painter), scale_(scale) {}

QRect EqGraphPainter::plotRect() const {
  return {GraphScale::kLeft, GraphScale::kTop, scale_.width(), scale_.height()};
}

void EqGraphPainter::plot(bool noChannel) {
  painter_.fillRect(plotRect(), Qt::black);
  painter_.setPen(noChannel ? QColor(Qt::white) : kBorder);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(plotRect().adjusted(0, 0, -1, -1));
}

void EqGraphPainter::shade(const ElementGeometry::Outline& outline) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(outline.size()));
  for (const OutlinePoint& p : outline) polygon << QPointF(p.x, p.y);
  painter_.setPen(kShade);
  painter_.setBrush(kShade);
  painter_.drawPolygon(polygon);
}

void EqGraphPainter::grid() {
  const QRect plot = plotRect();
  painter_.setPen(kGridLine);
  for (std::size_t i = 1; i < kGridHz.size(); ++i) {
    const int x = plot.left() + static_cast<int>(scale_.x(kGridHz[i]));
    painter_.drawLine(x, plot.top(), x, plot.bottom());
  }
  for (int k = 1; k <= 12; ++k) {
    const int y = plot.top() + k * scale_.height() / 12;
    painter_.drawLine(plot.left(), y, plot.right(), y);
  }
  painter_.setPen(kCaption);
  const int line = painter_.fontMetrics().height();
  for (std::size_t k = 0; k < kGainCaptions.size(); ++k) {
    const int y = plot.top() + static_cast<int>(2 * k) * scale_.height() / 12;
    painter_.drawText(QRect(0, y - line / 2, GraphScale::kLeft - 3, line), Qt::AlignRight | Qt::AlignVCenter,
                      QString::fromLatin1(kGainCaptions[k]));
  }
  for (const Caption& c : kFrequencyCaptions) {
    const int x = plot.left() + static_cast<int>(scale_.x(c.hz));
    painter_.drawText(QRect(x - 20, plot.bottom() + 2, 40, GraphScale::kBottom),
                      Qt::AlignHCenter | Qt::AlignTop, QString::fromLatin1(c.text));
  }
}

void EqGraphPainter::curve(const CKTVEQ& set) {
  std::array<QPointF, kGridPoints> points;
  for (std::size_t i = 0; i < kGridPoints; ++i) points[i] = QPointF(set.curveX()[i], set.curveY()[i]);
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing);
  painter_.setPen(QPen(colourOf(set.colour()), 2));
  painter_.drawPolyline(points.data(), static_cast<int>(points.size()));
  painter_.restore();
}

void EqGraphPainter::markerText(const GraphRect& marker, const QString& text, MarkerAlign align) {
  const Qt::Alignment horizontal = align == MarkerAlign::Left    ? Qt::AlignLeft
                                   : align == MarkerAlign::Right ? Qt::AlignRight
                                                                 : Qt::AlignHCenter;
  painter_.setPen(Qt::white);
  painter_.drawText(toQt(marker), horizontal | Qt::AlignVCenter | Qt::TextDontClip, text);
}

void EqGraphPainter::handles(const ElementGeometry& element, QColor colour) {
  painter_.setPen(colour);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(toQt(element.leftHandle()).adjusted(0, 0, -1, -1));
  painter_.drawRect(toQt(element.rightHandle()).adjusted(0, 0, -1, -1));
}

void EqGraphPainter::label(const GraphRect& rect, const QString& text) {
  painter_.setPen(Qt::white);
  painter_.drawText(toQt(rect), Qt::AlignCenter | Qt::TextDontClip, text);
}

}  // namespace orvane::ui
