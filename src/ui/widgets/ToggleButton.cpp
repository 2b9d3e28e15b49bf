#include "ToggleButton.h"

#include <QEnterEvent>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "ConsoleLook.h"

namespace orvane::ui {

namespace {

constexpr int kSquareSide = 18;  // a crosspoint button without a label
constexpr int kTextPaddingX = 8;
constexpr int kTextPaddingY = 4;

// Perceived brightness 0..255, to pick dark or light text on a face.
int brightness(const QColor& color) {
  return (color.red() * 299 + color.green() * 587 + color.blue() * 114) / 1000;
}

QColor blend(const QColor& a, const QColor& b, double share) {
  const auto mix = [share](int x, int y) { return static_cast<int>(x + (y - x) * share); };
  return {mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue())};
}

}  // namespace

ToggleButton::ToggleButton(QWidget* parent) : ToggleButton(QString(), parent) {}

ToggleButton::ToggleButton(const QString& text, QWidget* parent)
    : QAbstractButton(parent), onColor_(ConsoleLook::kOnGreen) {
  setCheckable(true);
  setText(text);
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

void ToggleButton::setOnColor(const QColor& color) {
  onColor_ = color;
  update();
}

void ToggleButton::setHighlighted(bool highlighted) {
  if (highlighted == highlighted_) return;
  highlighted_ = highlighted;
  update();
}

QColor ToggleButton::faceColor() const {
  const QColor off(ConsoleLook::kButtonFace);
  if (!isEnabled()) {
    // A disabled button still tells its state, but faintly.
    return isChecked() ? blend(off, onColor_, 0.35) : off.darker(130);
  }
  QColor face = isChecked() ? onColor_ : off;
  if (isDown())
    face = face.darker(125);
  else if (underMouse())
    face = face.lighter(112);
  return face;
}

QColor ToggleButton::textColor() const {
  if (!isEnabled()) return QColor(ConsoleLook::kTextDisabled);
  if (isChecked() && brightness(onColor_) > 140) return QColor(ConsoleLook::kTextOn);
  return QColor(ConsoleLook::kTextOff);
}

QSize ToggleButton::sizeHint() const {
  if (text().isEmpty()) return {kSquareSide, kSquareSide};
  const QFontMetrics metrics = fontMetrics();
  const int w = metrics.horizontalAdvance(text()) + 2 * kTextPaddingX;
  const int h = metrics.height() + 2 * kTextPaddingY;
  return {std::max(w, h), h};
}

QSize ToggleButton::minimumSizeHint() const {
  if (text().isEmpty()) return {kSquareSide / 2, kSquareSide / 2};
  return {fontMetrics().averageCharWidth() * 2 + kTextPaddingX, fontMetrics().height() + 2};
}

void ToggleButton::enterEvent(QEnterEvent* event) {
  update();
  QAbstractButton::enterEvent(event);
}

void ToggleButton::leaveEvent(QEvent* event) {
  update();
  QAbstractButton::leaveEvent(event);
}

void ToggleButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF body = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const double radius = std::min(3.0, body.height() / 4.0);

  const QColor face = faceColor();
  QLinearGradient shade(body.topLeft(), body.bottomLeft());
  shade.setColorAt(0.0, face.lighter(118));
  shade.setColorAt(1.0, face.darker(112));
  painter.setBrush(shade);
  painter.setPen(QColor(ConsoleLook::kButtonEdge));
  painter.drawRoundedRect(body, radius, radius);

  if (highlighted_ || hasFocus()) {
    QColor ring(ConsoleLook::kHighlight);
    if (!highlighted_) ring.setAlpha(150);  // keyboard focus, quieter than a selection
    if (!isEnabled()) ring = ring.darker(160);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ring, highlighted_ ? 2.0 : 1.0));
    const double inset = 1.5;
    painter.drawRoundedRect(body.adjusted(inset, inset, -inset, -inset), radius, radius);
  }

  if (text().isEmpty()) return;
  painter.setPen(textColor());
  const QRect textArea = rect().adjusted(3, 0, -3, 0);
  painter.drawText(textArea, Qt::AlignCenter | Qt::TextSingleLine,
                   fontMetrics().elidedText(text(), Qt::ElideRight, textArea.width()));
}

}  // namespace orvane::ui
