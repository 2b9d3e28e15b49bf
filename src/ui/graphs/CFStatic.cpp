#include "ui/graphs/CFStatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include "model/ParameterImage.h"
#include "ui/graphs/EqGraphPainter.h"

namespace orvane::ui {

namespace {

GraphPoint pointOf(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

std::size_t slot(Side side, int channel) {
  return static_cast<std::size_t>((side == Side::Input ? 0 : kChannels) + channel);
}

}  // namespace

CFStatic::CFStatic(ParameterImage& image, ChannelFilters& filters, QWidget* parent)
    : QWidget(parent), image_(image), filters_(filters) {
  setObjectName("eqGraph");
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 160);
  notifyTimer_.start(kNotifyMs, this);
}

const SetGeometry& CFStatic::geometry(Side side, int channel) const {
  return geometry_.at(slot(side, channel));
}

CKTVEQ& CFStatic::shownSet() {
  return filters_.channel(side(), channel_);
}

SetGeometry& CFStatic::shownGeometry() {
  return geometry_.at(slot(side(), channel_));
}

bool CFStatic::bandsLocked() const {
  const int flag = side() == Side::Input ? LockFlag::InputEq : LockFlag::OutputEq;
  return image_.read([flag](const ImageData& d) { return d.locks.isLocked(flag); });
}

bool CFStatic::crossoverLocked() const {
  const int flag = side() == Side::Input ? LockFlag::InputCrossover : LockFlag::OutputCrossover;
  return image_.read([flag](const ImageData& d) { return d.locks.isLocked(flag); });
}

bool CFStatic::kindLocked(int index) {
  return isCrossoverKind(shownSet().element(index).kind()) ? crossoverLocked() : bandsLocked();
}

// A lock set while an element was under the pointer lets it go: a locked
// kind can be neither pressed nor dragged.
void CFStatic::releaseLockedGrip() {
  if (!grip_.element || !kindLocked(*grip_.element)) return;
  grip_ = Grip{};
  hovering_ = false;
}

void CFStatic::ShowInput(int channel) {
  showChannel(kInput, channel);
}

void CFStatic::ShowOutput(int channel) {
  showChannel(kOutput, channel);
}

// A drag not yet reported belongs to the channel shown before; the owner
// flushes it before changing channels, so none is left to land on this one.
void CFStatic::showChannel(Mode mode, int channel) {
  notifyPending_ = false;
  mode_ = mode;
  channel_ = channel;
  grip_ = Grip{};
  hovering_ = false;
  Redraw(-1);
}

void CFStatic::Redraw(int selectedIndex) {
  selected_ = selectedIndex;
  update();
}

// Every set is laid out on the plot's size: the curves of all channels can
// be overlaid.
void CFStatic::layoutSets() {
  scale_ = GraphScale(std::max(1, width() - GraphScale::kLeft - GraphScale::kRight),
                      std::max(1, height() - GraphScale::kTop - GraphScale::kBottom));
  for (Side side : {Side::Input, Side::Output})
    for (int n = 0; n < kChannels; ++n) geometry_[slot(side, n)].Layout(scale_, filters_.channel(side, n));
}

void CFStatic::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutSets();
}

void CFStatic::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  EqGraphPainter draw(painter, scale_);
  draw.plot(mode_ == kNoChannel);
  if (mode_ == kNoChannel) {
    draw.grid();
    return;
  }
  const bool bandsOff = bandsLocked();
  const bool crossoverOff = crossoverLocked();
  CKTVEQ& set = shownSet();
  SetGeometry& geometry = shownGeometry();
  const auto lockedKind = [&](int index) {
    return isCrossoverKind(set.element(index).kind()) ? crossoverOff : bandsOff;
  };
  const std::optional<int> selected =
      selected_ >= 0 && selected_ < set.elementCount() ? std::optional(selected_) : grip_.element;
  // Only what is drawn is summed (and placed, for the edited channel): the
  // sets were brought up to date when taken, a device read may have changed
  // them.
  set.SumCurve(scale_.height());
  geometry.PlaceAll(set);
  if (selected && !lockedKind(*selected)) draw.shade(geometry.element(*selected).outline());
  draw.grid();
  const EditorState editor = image_.read([](const ImageData& d) { return d.editor; });
  for (Side overlay : {Side::Input, Side::Output}) {
    const auto& visible = overlay == Side::Input ? editor.inputCurveVisible : editor.outputCurveVisible;
    for (int n = 0; n < kChannels; ++n) {
      if (!visible[static_cast<std::size_t>(n)]) continue;
      CKTVEQ& each = filters_.channel(overlay, n);
      each.SumCurve(scale_.height());
      draw.curve(each);
    }
  }
  draw.curve(set);
  for (int i = set.elementCount() - 1; i >= 0; --i) {
    if (lockedKind(i)) continue;
    const CFilter& element = set.element(i);
    const QString text = element.kind() == FilterKind::HighPass  ? QStringLiteral("LC")
                         : element.kind() == FilterKind::LowPass ? QStringLiteral("HC")
                                                                 : QString::number(element.bandNumber());
    draw.markerText(geometry.element(i).marker(), text, geometry.element(i).markerAlign(element));
  }
  if (grip_.element && !bandsOff && set.element(*grip_.element).kind() == FilterKind::Peaking)
    draw.handles(geometry.element(*grip_.element), EqGraphPainter::colourOf(set.colour()));
  if (selected && !lockedKind(*selected))
    draw.label(geometry.element(*selected).label(),
               QString::fromStdString(set.element(*selected).LabelText()));
}

// --- the mouse ------------------------------------------------------------------

void CFStatic::mousePressEvent(QMouseEvent* event) {
  setFocus();
  if (mode_ != kNoChannel) releaseLockedGrip();
  if (event->button() != Qt::LeftButton || mode_ == kNoChannel || !hovering_ || !grip_.element) return;
  ElementGeometry& element = shownGeometry().element(*grip_.element);
  if (grip_.markerHovered) {
    grip_.pressed = true;
    element.PressMarker(pointOf(event));
  } else if (shownSet().element(*grip_.element).kind() == FilterKind::Peaking) {
    grip_.draggingLeft = grip_.leftHovered;
    grip_.draggingRight = grip_.rightHovered;
  }
}

void CFStatic::mouseReleaseEvent(QMouseEvent*) {
  if (mode_ == kNoChannel) return;
  grip_.pressed = grip_.draggingLeft = grip_.draggingRight = false;
  grip_.markerHovered = grip_.leftHovered = grip_.rightHovered = false;
  hovering_ = false;
}

void CFStatic::mouseMoveEvent(QMouseEvent* event) {
  if (mode_ == kNoChannel) return;
  const GraphPoint p = pointOf(event);
  releaseLockedGrip();
  const bool changedNow = grip_.element && isCrossoverKind(shownSet().element(*grip_.element).kind())
                              ? dragCrossover(p)
                              : dragBand(p);
  if (changedNow) changed();
  updateCursor(p);
}

// The crossover corner follows a pressed marker; a marker left unpressed is
// let go.
bool CFStatic::dragCrossover(GraphPoint p) {
  const int index = *grip_.element;
  ElementGeometry& geometry = shownGeometry().element(index);
  CKTVEQ& set = shownSet();
  if (grip_.pressed) {
    const bool highPass = set.element(index).kind() == FilterKind::HighPass;
    const int other = highPass ? set.lowPass().frequency() : set.highPass().frequency();
    return geometry.DragCrossover(set.element(index), p, other);
  }
  if (!geometry.marker().contains(p)) {
    grip_ = Grip{};
    hovering_ = false;
    search(p);
  }
  return false;
}

bool CFStatic::dragBand(GraphPoint p) {
  if (!grip_.element) {
    search(p);
    return false;
  }
  const int index = *grip_.element;
  ElementGeometry& geometry = shownGeometry().element(index);
  CFilter& element = shownSet().element(index);
  if (grip_.pressed) return geometry.DragBand(element, p);
  if (grip_.draggingLeft || grip_.draggingRight) return geometry.DragHandle(element, p.x, grip_.draggingLeft);
  grip_.markerHovered = geometry.marker().contains(p);
  const bool peaking = element.kind() == FilterKind::Peaking;
  grip_.leftHovered = !grip_.markerHovered && peaking && geometry.leftHandle().contains(p);
  grip_.rightHovered = !grip_.markerHovered && peaking && geometry.rightHandle().contains(p);
  if (grip_.markerHovered || grip_.leftHovered || grip_.rightHovered) {
    hovering_ = true;
    return false;
  }
  search(p);
  return false;
}

void CFStatic::search(GraphPoint p) {
  const std::optional<int> found = shownGeometry().elementAt(shownSet(), p, bandsLocked(), crossoverLocked());
  if (!found) {
    hovering_ = false;
    return;
  }
  grip_ = Grip{};
  grip_.element = found;
  grip_.markerHovered = true;
  hovering_ = true;
  notifyIndex_ = *found;
  update();
}

void CFStatic::changed() {
  notifyIndex_ = *grip_.element;
  notifyPending_ = true;
  emit elementDragged(notifyIndex_, mode_);
  update();
}

void CFStatic::updateCursor(GraphPoint p) {
  Qt::CursorShape shape = Qt::ArrowCursor;
  if (grip_.element && hovering_) {
    const bool peaking = shownSet().element(*grip_.element).kind() == FilterKind::Peaking;
    const bool onMarker = shownGeometry().element(*grip_.element).marker().contains(p) || grip_.pressed;
    shape = onMarker && peaking ? Qt::SizeAllCursor : Qt::SizeHorCursor;
  }
  setCursor(shape);
}

// At most one notification per period, naming the last element dragged.
void CFStatic::timerEvent(QTimerEvent* event) {
  if (event->timerId() != notifyTimer_.timerId()) return QWidget::timerEvent(event);
  FlushNotification();
}

void CFStatic::FlushNotification() {
  if (!notifyPending_) return;
  notifyPending_ = false;
  emit graphChanged(notifyIndex_, mode_);
}

}  // namespace orvane::ui
