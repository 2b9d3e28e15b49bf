#include "ui/graphs/DynamicsGraph.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/graphs/EqGraphPainter.h"

namespace orvane::ui {

namespace {

PlotPoint pointOf(const QMouseEvent* event) {
  return {event->position().x(), event->position().y()};
}

}  // namespace

DynamicsGraph::DynamicsGraph(ParameterImage& image, Side side, int lockFlag, const DynamicsAxes& axes,
                             QWidget* parent)
    : QWidget(parent),
      image_(image),
      side_(side),
      lockFlag_(lockFlag),
      axes_(axes),
      colour_(ChannelColour::of(side, 0)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(160, 120);
}

void DynamicsGraph::ShowChannel(int channel) {
  channel_ = channel;
  colour_ = ChannelColour::of(side_, channel);
  hovered_.reset();
  pressed_ = false;
  Redraw();
}

void DynamicsGraph::Redraw() {
  recompute();
  update();
}

QColor DynamicsGraph::colour() const {
  return EqGraphPainter::colourOf(colour_);
}

bool DynamicsGraph::locked() const {
  return image_.read([flag = lockFlag_](const ImageData& d) { return d.locks.isLocked(flag); });
}

void DynamicsGraph::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layOut({0, 0, double(width()), double(height())});
  recompute();
}

void DynamicsGraph::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DynamicsPainter draw(painter, plot());
  draw.frame(axes_);
  if (locked()) {
    draw.lockedDiagonal();
    return;
  }
  // A device read may have changed the block since the last redraw.
  recompute();
  paintCurve(draw);
}

void DynamicsGraph::mousePressEvent(QMouseEvent* event) {
  setFocus();
  pressed_ = event->button() == Qt::LeftButton && hovered_ && !locked();
}

void DynamicsGraph::mouseReleaseEvent(QMouseEvent*) {
  pressed_ = false;
}

void DynamicsGraph::mouseMoveEvent(QMouseEvent* event) {
  const PlotPoint pointer = pointOf(event);
  if (locked()) {
    hovered_.reset();
    pressed_ = false;
  } else if (event->buttons() == Qt::NoButton) {
    hovered_ = handleAt(pointer);
  } else if (pressed_ && hovered_) {
    if (const std::optional<int> code = drag(*hovered_, pointer.y)) {
      emit fieldDragged(infoOf(*hovered_).field, *code);
      update();
    }
  }
  updateCursor(pointer);
}

// The cursor shows how the handle under the pointer moves; away from the
// handles it shows a grab still held.
void DynamicsGraph::updateCursor(PlotPoint pointer) {
  const std::optional<int> under = hovered_ ? handleAt(pointer) : std::nullopt;
  Qt::CursorShape shape = Qt::ArrowCursor;
  if (under)
    shape = infoOf(*under).adjustsRatio ? Qt::SizeVerCursor : Qt::SizeBDiagCursor;
  else if (hovered_)
    shape = Qt::SizeAllCursor;
  setCursor(shape);
}

}  // namespace orvane::ui
