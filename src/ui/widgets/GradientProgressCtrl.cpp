#include "GradientProgressCtrl.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace orvane::ui {

GradientProgressCtrl::GradientProgressCtrl(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GradientProgressCtrl::setRange(int lower, int upper) {
  lower_ = std::min(lower, upper);
  upper_ = std::max(lower, upper);
  position_ = std::clamp(position_, lower_, upper_);
  update();
}

void GradientProgressCtrl::setPosition(int position) {
  position = std::clamp(position, lower_, upper_);
  if (position == position_) return;
  position_ = position;
  update();
}

void GradientProgressCtrl::stepIt() {
  // Widened so a step near the int limits cannot overflow.
  const long long next = static_cast<long long>(position_) + step_;
  setPosition(static_cast<int>(std::clamp<long long>(next, lower_, upper_)));
}

void GradientProgressCtrl::setStartColor(const QColor& color) {
  start_ = color;
  update();
}

void GradientProgressCtrl::setEndColor(const QColor& color) {
  end_ = color;
  update();
}

void GradientProgressCtrl::setBackgroundColor(const QColor& color) {
  background_ = color;
  update();
}

QColor GradientProgressCtrl::backgroundColor() const {
  return background_.value_or(palette().color(QPalette::Window));
}

void GradientProgressCtrl::setTextColor(const QColor& color) {
  text_ = color;
  update();
}

void GradientProgressCtrl::setShowPercentage(bool show) {
  showPercentage_ = show;
  update();
}

void GradientProgressCtrl::setOrientation(Qt::Orientation orientation) {
  if (orientation == orientation_) return;
  orientation_ = orientation;
  updateGeometry();
  update();
}

double GradientProgressCtrl::percentage() const {
  if (upper_ == lower_) return 0.0;
  return (position_ - lower_) * 100.0 / (upper_ - lower_);
}

QString GradientProgressCtrl::percentageText() const {
  return QString::asprintf("%3.0f %%", percentage());
}

int GradientProgressCtrl::bandCount(const QColor& start, const QColor& end) {
  const int n = std::max({std::abs(end.red() - start.red()), std::abs(end.green() - start.green()),
                          std::abs(end.blue() - start.blue())});
  return std::max(n, 1);
}

QColor GradientProgressCtrl::bandColor(const QColor& start, const QColor& end, int band, int bands) {
  const auto component = [band, bands](int from, int to) { return from + band * (to - from) / bands; };
  return {component(start.red(), end.red()), component(start.green(), end.green()),
          component(start.blue(), end.blue())};
}

QSize GradientProgressCtrl::sizeHint() const {
  const int thickness = fontMetrics().height() + 6;
  return orientation_ == Qt::Horizontal ? QSize(200, thickness) : QSize(thickness, 200);
}

QSize GradientProgressCtrl::minimumSizeHint() const {
  return orientation_ == Qt::Horizontal ? QSize(20, 6) : QSize(6, 20);
}

void GradientProgressCtrl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), backgroundColor());

  const int length = orientation_ == Qt::Horizontal ? width() : height();
  // The bar fills in proportion to the share of the range covered, the same
  // share the percentage text reads.
  if (position_ > lower_) {
    const auto filled =
        static_cast<int>(static_cast<long long>(position_ - lower_) * length / (upper_ - lower_));
    paintGradient(painter, length, filled);
  }
  if (showPercentage_) paintPercentage(painter);
}

void GradientProgressCtrl::paintGradient(QPainter& painter, int length, int filled) const {
  const int bands = bandCount(start_, end_);
  const bool horizontal = orientation_ == Qt::Horizontal;
  // Each pixel takes the band its leading edge lies in, so the bar starts
  // in the start colour even when bands are narrower than a pixel.
  const auto edge = [length, bands](int band) {
    return static_cast<int>((static_cast<long long>(band) * length + bands - 1) / bands);
  };
  for (int band = 0; band < bands; ++band) {
    const int from = edge(band);
    if (from >= filled) break;
    const int to = std::min(edge(band + 1), filled);
    if (to <= from) continue;
    // A vertical bar fills from the bottom up.
    const QRect area =
        horizontal ? QRect(from, 0, to - from, height()) : QRect(0, height() - to, width(), to - from);
    painter.fillRect(area, bandColor(start_, end_, band, bands));
  }
}

void GradientProgressCtrl::paintPercentage(QPainter& painter) const {
  painter.setPen(text_);
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, percentageText());
}

}  // namespace orvane::ui
