#pragma once

// What the two dynamics graphs of the channel pages share: binding to a
// channel and its colour, the frame, the lock that reduces the graph to a
// red diagonal and ignores the mouse, and the mouse itself. A press on a
// hovered handle grabs it; moving the pointer up and down then rewrites the
// handle's field in the edited image, so the communication worker sends the
// changed row, and fieldDragged tells the owning page which field changed
// so it can show the code and copy it to the linked channels.

#include <QWidget>
#include <optional>

#include "dsp/ChannelColour.h"
#include "dsp/DynamicsPlot.h"
#include "ui/graphs/DynamicsPainter.h"

namespace orvane::ui {

class DynamicsGraph : public QWidget {
  Q_OBJECT

 public:
  void ShowChannel(int channel);
  // Recomputes the curve from the channel's block and repaints.
  void Redraw();

  int channel() const { return channel_; }
  QSize sizeHint() const override { return {240, 200}; }

 signals:
  // A drag stored `code` in `field` of the shown channel.
  void fieldDragged(orvane::Field field, int code);

 protected:
  // `axes` outlives the graph.
  DynamicsGraph(ParameterImage& image, Side side, int lockFlag, const DynamicsAxes& axes, QWidget* parent);

  ParameterImage& image() const { return image_; }
  QColor colour() const;

  // Handles are numbered as the graph's geometry numbers them.
  virtual void layOut(PlotRect client) = 0;
  virtual void recompute() = 0;
  virtual const DynamicsPlot& plot() const = 0;
  virtual std::optional<int> handleAt(PlotPoint pointer) const = 0;
  virtual const HandleInfo& infoOf(int handle) const = 0;
  // Moves `handle` to pointer height `y`; the code stored, if any.
  virtual std::optional<int> drag(int handle, double y) = 0;
  // The reference lines, the curve and the handles of an unlocked graph.
  virtual void paintCurve(DynamicsPainter& painter) const = 0;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool locked() const;
  void updateCursor(PlotPoint pointer);

  ParameterImage& image_;
  Side side_;
  int lockFlag_;
  const DynamicsAxes& axes_;
  int channel_ = 0;
  ChannelColour colour_;
  std::optional<int> hovered_;
  bool pressed_ = false;
};

}  // namespace orvane::ui
