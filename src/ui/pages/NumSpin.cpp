#include "ui/pages/NumSpin.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

#include "ui/common/MessageBoxes.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumTexts.h"
#include "ui/widgets/ConsoleLook.h"

namespace orvane::ui {

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 22;
constexpr int kMinimumWidth = 12;
constexpr int kMinimumHeight = 14;

void drawArrow(QPainter& painter, const QRectF& area, bool up, const QColor& color) {
  const double half = std::min(area.width() * 0.28, area.height() * 0.32);
  const QPointF centre = area.center();
  const double tip = up ? -half * 0.6 : half * 0.6;
  QPainterPath arrow;
  arrow.moveTo(centre.x() - half, centre.y() - tip);
  arrow.lineTo(centre.x() + half, centre.y() - tip);
  arrow.lineTo(centre.x(), centre.y() + tip);
  arrow.closeSubpath();
  painter.fillPath(arrow, color);
}

}  // namespace

NumSpin::NumSpin(QWidget* parent) : QWidget(parent) {
  // Clicking an arrow leaves the focus in the field, where the user may be
  // typing.
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  repeatDelay_ = style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this);
  repeatInterval_ = style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this);
  if (repeatDelay_ <= 0) repeatDelay_ = 500;
  if (repeatInterval_ <= 0) repeatInterval_ = 150;
  repeat_.setSingleShot(true);
  notify_.setTimerType(Qt::PreciseTimer);  // never more often than the period
  connect(&repeat_, &QTimer::timeout, this, &NumSpin::repeatStep);
  connect(&notify_, &QTimer::timeout, this, &NumSpin::notifyTick);
}

void NumSpin::setBuddy(NumEdit* buddy) {
  if (buddy == buddy_) return;
  endHold();
  disconnect(buddyEdited_);
  buddy_ = buddy;
  if (buddy_) buddyEdited_ = connect(buddy_, &NumEdit::valueEdited, this, &NumSpin::valueEdited);
}

void NumSpin::setRange(int minimum, int maximum) {
  if (buddy_) buddy_->setRange(minimum, maximum);
}

int NumSpin::minimum() const {
  return buddy_ ? buddy_->minimum() : 0;
}

int NumSpin::maximum() const {
  return buddy_ ? buddy_->maximum() : 0;
}

bool NumSpin::setValue(int code) {
  if (!buddy_) return false;
  if (code < buddy_->minimum() || code > buddy_->maximum()) {
    MessageBoxes::inform(this, NumTexts::kSetPosError);
    return false;
  }
  return buddy_->setValueChecked(code);
}

int NumSpin::value() const {
  return buddy_ ? buddy_->value() : 0;
}

void NumSpin::setLocked(bool locked) {
  if (locked) endHold();
  if (buddy_) buddy_->setLocked(locked);
  if (locked == locked_) return;
  locked_ = locked;
  setEnabled(!locked);
  update();
}

void NumSpin::setNotifyPeriod(int milliseconds) {
  notifyPeriod_ = std::max(1, milliseconds);
}

void NumSpin::setAutoRepeat(int delayMilliseconds, int intervalMilliseconds) {
  repeatDelay_ = std::max(1, delayMilliseconds);
  repeatInterval_ = std::max(1, intervalMilliseconds);
}

QRect NumSpin::upArrowRect() const {
  return {0, 0, width(), height() / 2};
}

QRect NumSpin::downArrowRect() const {
  return {0, height() / 2, width(), height() - height() / 2};
}

QSize NumSpin::sizeHint() const {
  return {kWidth, kHeight};
}

QSize NumSpin::minimumSizeHint() const {
  return {kMinimumWidth, kMinimumHeight};
}

void NumSpin::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool enabled = isEnabled();
  const QColor face(ConsoleLook::kButtonFace);
  const QColor arrowColour(enabled ? ConsoleLook::kTextOff : ConsoleLook::kTextDisabled);
  for (const int arrow : {1, -1}) {
    const QRectF area = QRectF(arrow > 0 ? upArrowRect() : downArrowRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor shade = enabled ? face : face.darker(130);
    if (held_ == arrow) shade = shade.darker(135);
    painter.setBrush(shade);
    painter.setPen(QColor(ConsoleLook::kButtonEdge));
    painter.drawRect(area);
    drawArrow(painter, area, arrow > 0, arrowColour);
  }
}

void NumSpin::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !acceptsInput() || held_ != 0) {
    event->ignore();
    return;
  }
  event->accept();
  const int arrow = event->position().y() < height() / 2.0 ? 1 : -1;
  const int reportsBefore = buddy_->outOfRangeReports_;
  const bool changed = buddy_->applyArrowSteps(arrow);
  if (!buddy_) return;
  if (buddy_->outOfRangeReports_ != reportsBefore) {
    // Typing in the field was out of range and a message box has taken the
    // mouse: the release will not come here, so this press is one step.
    if (changed) emit valueEdited(buddy_->value());
    return;
  }
  held_ = arrow;
  changedSinceNotice_ = changed;
  changedInHold_ = changed;
  repeat_.start(repeatDelay_);
  notify_.start(notifyPeriod_);
  update();
}

void NumSpin::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && held_ != 0) {
    endHold();
    event->accept();
    return;
  }
  event->ignore();
}

void NumSpin::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (!acceptsInput() || delta == 0) {
    event->ignore();
    return;
  }
  buddy_->turnWheel(delta);
  event->accept();
}

void NumSpin::changeEvent(QEvent* event) {
  // A hold ends when the arrows stop taking input or another window (a
  // message box, a dialog) takes the mouse.
  if ((event->type() == QEvent::EnabledChange && !isEnabled()) ||
      (event->type() == QEvent::ActivationChange && !isActiveWindow())) {
    endHold();
  }
  QWidget::changeEvent(event);
}

void NumSpin::hideEvent(QHideEvent* event) {
  endHold();
  QWidget::hideEvent(event);
}

bool NumSpin::acceptsInput() const {
  return buddy_ && !locked_ && isEnabled() && buddy_->acceptsInput();
}

void NumSpin::repeatStep() {
  if (held_ == 0) return;
  if (!acceptsInput()) {
    endHold();
    return;
  }
  if (buddy_->applyArrowSteps(held_)) {
    changedSinceNotice_ = true;
    changedInHold_ = true;
  }
  repeat_.start(repeatInterval_);
}

void NumSpin::notifyTick() {
  if (held_ == 0 || !changedSinceNotice_ || !buddy_) return;
  changedSinceNotice_ = false;
  emit valueHeld(buddy_->value());
}

void NumSpin::endHold() {
  if (held_ == 0) return;
  held_ = 0;
  repeat_.stop();
  notify_.stop();
  changedSinceNotice_ = false;
  const bool changed = changedInHold_;
  changedInHold_ = false;
  update();
  if (changed && buddy_) emit valueEdited(buddy_->value());
}

}  // namespace orvane::ui
