#include "SLamp.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace orvane::ui {

namespace {

constexpr std::uint8_t kStepMask = 0x0F;
constexpr std::uint8_t kBit4 = 0x10;
constexpr std::uint8_t kBit5 = 0x20;
constexpr std::uint8_t kBit6 = 0x40;
constexpr int kMaxStep = 8;
constexpr int kLevelLamps = 5;

const QColor kGreen{0, 255, 0};
const QColor kYellow{255, 255, 0};
const QColor kOrange{255, 127, 39};
const QColor kRed{255, 0, 0};

// Where the five level lamps and the three indicators sit, bottom-up.
struct Placement {
  int firstLevelLamp;
  int bit4Lamp;
  int bit5Lamp;
  int bit6Lamp;
};

constexpr Placement kInputPlacement{1, 6, 0, 7};
constexpr Placement kOutputPlacement{0, 5, 6, 7};

const Placement& placementOf(SLamp::Layout layout) {
  return layout == SLamp::Layout::Input ? kInputPlacement : kOutputPlacement;
}

}  // namespace

SLamp::SLamp(QWidget* parent) : SLamp(Layout::Input, parent) {}

SLamp::SLamp(Layout layout, QWidget* parent) : QWidget(parent), layout_(layout) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void SLamp::setLayout(Layout layout) {
  if (layout == layout_) return;
  layout_ = layout;
  requestRedraw();
}

int SLamp::litLevelLamps(std::uint8_t level) {
  const int step = std::min<int>(level & kStepMask, kMaxStep);
  // Steps 3/4 and 5/6 share a lamp; 7 and 8 both light all five.
  static constexpr std::array<int, kMaxStep + 1> kLampsForStep{0, 1, 2, 3, 3, 4, 4, 5, 5};
  return kLampsForStep[static_cast<std::size_t>(step)];
}

SLamp::LampStates SLamp::statesFor(Layout layout, std::uint8_t level) {
  const Placement& at = placementOf(layout);
  LampStates states{};
  const int lit = litLevelLamps(level);
  for (int i = 0; i < lit; ++i) states[static_cast<std::size_t>(at.firstLevelLamp + i)] = true;
  states[static_cast<std::size_t>(at.bit4Lamp)] = (level & kBit4) != 0;
  states[static_cast<std::size_t>(at.bit5Lamp)] = (level & kBit5) != 0;
  states[static_cast<std::size_t>(at.bit6Lamp)] = (level & kBit6) != 0;
  return states;
}

QColor SLamp::lampColor(Layout layout, int lamp) {
  const Placement& at = placementOf(layout);
  if (lamp == at.bit4Lamp) return kYellow;
  if (lamp == at.bit5Lamp) return kOrange;
  if (lamp == at.bit6Lamp) return kRed;
  return kGreen;
}

QColor SLamp::lampColor(int lamp) const {
  return lampColor(layout_, lamp);
}

QRect SLamp::lampRect(int width, int height, int lamp) {
  const int lampHeight = std::max(0, (height - (kLampCount - 1)) / kLampCount);
  const int bottom = height;  // one past the last row
  const int top = bottom - lamp * (lampHeight + 1) - lampHeight;
  return {0, top, width, lampHeight};
}

void SLamp::showInputLevel(std::uint8_t level) {
  applyStates(statesFor(Layout::Input, level));
}

void SLamp::showOutputLevel(std::uint8_t level) {
  applyStates(statesFor(Layout::Output, level));
}

void SLamp::applyStates(const LampStates& states) {
  if (states == states_) return;
  states_ = states;
  requestRedraw();
}

void SLamp::reset() {
  states_ = {};
  requestRedraw();
}

void SLamp::requestRedraw() {
  ++redrawRequests_;
  update();
}

QSize SLamp::sizeHint() const {
  // Lamps of 11 px with 1 px gaps: tall enough to read, narrow enough to
  // stand beside a channel strip.
  return {12, kLampCount * 11 + (kLampCount - 1)};
}

QSize SLamp::minimumSizeHint() const {
  return {4, kLampCount * 2 + (kLampCount - 1)};
}

void SLamp::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), backgroundColor());
  for (int lamp = 0; lamp < kLampCount; ++lamp) {
    if (!states_[static_cast<std::size_t>(lamp)]) continue;
    painter.fillRect(lampRect(width(), height(), lamp), lampColor(lamp));
  }
}

}  // namespace orvane::ui
