#include "Fader.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "ConsoleLook.h"

namespace orvane::ui {

namespace {

constexpr int kMargin = 2;  // between the cap's travel and the edge
constexpr int kGrooveWidth = 6;
constexpr int kNominalCapHeight = 22;
constexpr int kNominalCapWidth = 34;
constexpr int kWheelNotch = 120;  // angle delta of one wheel notch
constexpr int kAutoTickDivisions = 10;

}  // namespace

Fader::Fader(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Fader::setOrientation(Qt::Orientation orientation) {
  orientation_ = orientation;
  if (orientation == Qt::Vertical)
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  else
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  updateGeometry();
  update();
}

void Fader::setRange(int minimum, int maximum) {
  minimum_ = std::min(minimum, maximum);
  maximum_ = std::max(minimum, maximum);
  value_ = std::clamp(value_, minimum_, maximum_);
  update();
}

void Fader::setValue(int value) {
  value = std::clamp(value, minimum_, maximum_);
  if (value == value_) return;
  value_ = value;
  update();
}

void Fader::setSingleStep(int step) {
  singleStep_ = std::max(1, step);
}

void Fader::setPageStep(int step) {
  pageStep_ = std::max(1, step);
}

void Fader::setTickInterval(int interval) {
  tickInterval_ = std::max(0, interval);
  update();
}

int Fader::tickInterval() const {
  if (tickInterval_ > 0) return tickInterval_;
  return std::max(1, (maximum_ - minimum_ + kAutoTickDivisions - 1) / kAutoTickDivisions);
}

void Fader::setMarkValue(std::optional<int> value) {
  mark_ = value;
  update();
}

void Fader::setHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  update();
}

void Fader::setLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  dragging_ = false;
  setFocusPolicy(locked ? Qt::NoFocus : Qt::StrongFocus);
  if (locked) clearFocus();
  update();
}

void Fader::moveByUser(int value) {
  value = std::clamp(value, minimum_, maximum_);
  if (value == value_) return;
  value_ = value;
  update();
  emit valueChanged(value_);
}

void Fader::moveByUserBy(long long delta) {
  // Widened so a large step near the int limits cannot overflow.
  moveByUser(static_cast<int>(std::clamp<long long>(value_ + delta, minimum_, maximum_)));
}

// Geometry: the cap's centre travels between travelTop() (maximum) and
// travelBottom() (minimum); the groove and the ticks follow the same rows.

int Fader::length() const {
  return orientation_ == Qt::Vertical ? height() : width();
}

int Fader::thickness() const {
  return orientation_ == Qt::Vertical ? width() : height();
}

QTransform Fader::toWidget() const {
  if (orientation_ == Qt::Vertical) return {};
  return QTransform().translate(width(), 0).rotate(90);
}

int Fader::alongAt(const QPointF& point) const {
  return static_cast<int>(std::lround(toWidget().inverted().map(point).y()));
}

int Fader::capHeight() const {
  return std::clamp(length() / 8, 8, kNominalCapHeight);
}

int Fader::capWidth() const {
  return std::max(8, std::min(thickness() - 2 * kMargin, kNominalCapWidth));
}

int Fader::travelTop() const {
  return kMargin + capHeight() / 2;
}

int Fader::travelBottom() const {
  return std::max(travelTop(), length() - 1 - kMargin - capHeight() / 2);
}

int Fader::yFor(int value) const {
  const int span = travelBottom() - travelTop();
  const long long range = static_cast<long long>(maximum_) - minimum_;
  if (range == 0) return travelBottom();
  const double share =
      static_cast<double>(static_cast<long long>(value) - minimum_) / static_cast<double>(range);
  return travelBottom() - static_cast<int>(std::lround(share * span));
}

int Fader::valueAt(int y) const {
  const int span = travelBottom() - travelTop();
  if (span <= 0) return value_;
  const double share = std::clamp(static_cast<double>(travelBottom() - y) / span, 0.0, 1.0);
  const double range = static_cast<double>(maximum_) - minimum_;
  return static_cast<int>(minimum_ + std::lround(share * range));
}

QRect Fader::uprightCapRect() const {
  const int h = capHeight();
  const int w = capWidth();
  return {(thickness() - w) / 2, yFor(value_) - h / 2, w, h};
}

QRect Fader::capRect() const {
  return toWidget().mapRect(uprightCapRect());
}

QSize Fader::sizeHint() const {
  const QSize upright(kNominalCapWidth + 2 * kMargin + 4, 160);
  return orientation_ == Qt::Vertical ? upright : upright.transposed();
}

QSize Fader::minimumSizeHint() const {
  const QSize upright(20, 60);
  return orientation_ == Qt::Vertical ? upright : upright.transposed();
}

void Fader::mousePressEvent(QMouseEvent* event) {
  if (!acceptsInput() || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const int y = alongAt(event->position());
  if (capRect().contains(event->position().toPoint())) {
    // Grabbing the cap keeps it under the pointer where it was taken.
    const QRect cap = uprightCapRect();
    grabOffset_ = y - (cap.top() + cap.height() / 2);
  } else {
    // A click on the track brings the cap there and keeps hold of it.
    grabOffset_ = 0;
    moveByUser(valueAt(y));
  }
  dragging_ = true;
  event->accept();
}

void Fader::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !acceptsInput()) {
    event->ignore();
    return;
  }
  moveByUser(valueAt(alongAt(event->position()) - grabOffset_));
  event->accept();
}

void Fader::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  dragging_ = false;
  event->accept();
}

void Fader::wheelEvent(QWheelEvent* event) {
  if (!acceptsInput()) {
    event->ignore();
    return;
  }
  // Touchpads send fractions of a notch; keep them until they add up.
  wheelRemainder_ += event->angleDelta().y();
  const int notches = wheelRemainder_ / kWheelNotch;
  wheelRemainder_ -= notches * kWheelNotch;
  const bool coarse = (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) != 0;
  const int perNotch =
      coarse ? pageStep_ : std::min(pageStep_, QApplication::wheelScrollLines() * singleStep_);
  if (notches != 0) moveByUserBy(static_cast<long long>(notches) * perNotch);
  event->accept();
}

void Fader::keyPressEvent(QKeyEvent* event) {
  if (!acceptsInput()) {
    event->ignore();
    return;
  }
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
      moveByUserBy(singleStep_);
      break;
    case Qt::Key_Down:
    case Qt::Key_Left:
      moveByUserBy(-singleStep_);
      break;
    case Qt::Key_PageUp:
      moveByUserBy(pageStep_);
      break;
    case Qt::Key_PageDown:
      moveByUserBy(-pageStep_);
      break;
    case Qt::Key_Home:
      moveByUser(minimum_);
      break;
    case Qt::Key_End:
      moveByUser(maximum_);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

void Fader::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) dragging_ = false;
  QWidget::changeEvent(event);
}

void Fader::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(ConsoleLook::kPanel));
  painter.save();
  painter.setTransform(toWidget());
  paintGroove(painter);
  paintTicks(painter);
  if (!locked_) paintCap(painter);
  painter.restore();
  if (hasFocus()) {
    QColor focus(ConsoleLook::kHighlight);
    focus.setAlpha(140);
    painter.setPen(focus);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void Fader::paintGroove(QPainter& painter) const {
  const int top = travelTop();
  const QRect groove((thickness() - kGrooveWidth) / 2, top, kGrooveWidth, travelBottom() - top + 1);
  painter.fillRect(groove, QColor(ConsoleLook::kGroove));
  const bool lit = highlighted_ && !locked_ && isEnabled();
  painter.setPen(lit ? QColor(ConsoleLook::kHighlight) : QColor(ConsoleLook::kEngravingDim));
  painter.drawRect(groove.adjusted(0, 0, -1, -1));
}

void Fader::paintTicks(QPainter& painter) const {
  const bool active = !locked_ && isEnabled();
  const QColor normal = active ? QColor(ConsoleLook::kEngraving) : QColor(ConsoleLook::kEngravingDim);
  const QColor marked =
      highlighted_ && active ? QColor(ConsoleLook::kHighlight) : QColor(ConsoleLook::kTextOff);
  const int centre = thickness() / 2;
  const int inner = kGrooveWidth / 2 + 3;
  const int outer = std::max(inner + 2, capWidth() / 2 - 2);
  const int step = tickInterval();
  for (long long v = minimum_; v <= maximum_; v += step) {
    const int y = yFor(static_cast<int>(v));
    painter.setPen(normal);
    painter.drawLine(centre - outer, y, centre - inner, y);
    painter.drawLine(centre + inner, y, centre + outer, y);
  }
  if (mark_ && *mark_ >= minimum_ && *mark_ <= maximum_) {
    const int y = yFor(*mark_);
    const int reach = std::max(outer + 2, thickness() / 2 - 1);
    painter.setPen(marked);
    painter.drawLine(centre - reach, y, centre - inner, y);
    painter.drawLine(centre + inner, y, centre + reach, y);
  }
}

void Fader::paintCap(QPainter& painter) const {
  const QRect cap = uprightCapRect();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(cap.topLeft(), cap.bottomLeft());
  if (isEnabled()) {
    shade.setColorAt(0.0, QColor(ConsoleLook::kCapLight));
    shade.setColorAt(0.45, QColor(ConsoleLook::kCapDark).lighter(130));
    shade.setColorAt(0.55, QColor(ConsoleLook::kCapDark));
    shade.setColorAt(1.0, QColor(ConsoleLook::kCapDark).darker(130));
  } else {
    shade.setColorAt(0.0, QColor(ConsoleLook::kButtonFace));
    shade.setColorAt(1.0, QColor(ConsoleLook::kButtonFace).darker(120));
  }
  painter.setPen(QColor(ConsoleLook::kButtonEdge));
  painter.setBrush(shade);
  painter.drawRoundedRect(QRectF(cap).adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);
  painter.restore();

  // The line across the cap is where the value is read off the scale.
  const int y = cap.top() + cap.height() / 2;
  const QColor line = !isEnabled()   ? QColor(ConsoleLook::kEngravingDim)
                      : highlighted_ ? QColor(ConsoleLook::kHighlight)
                                     : QColor(ConsoleLook::kGroove);
  painter.fillRect(QRect(cap.left() + 2, y - 1, cap.width() - 4, 2), line);
}

}  // namespace orvane::ui
