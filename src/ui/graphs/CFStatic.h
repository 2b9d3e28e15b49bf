#pragma once

// The EQ graph: the response of the channel being edited over a
// logarithmic frequency grid, with a numbered marker for every band and "LC"
// and "HC" for the high-pass and low-pass, and the curves of the channels
// whose curve button is on. A band's marker is dragged for frequency and
// gain, a peaking band's side handles for its bandwidth, "LC" and "HC" for
// the crossover corners. Every drag writes the parameter image, so the
// communication worker sends the changed rows; at most every 200 ms the
// graph tells its owner which element changed (graphChanged).

#include <QBasicTimer>
#include <QWidget>
#include <array>
#include <optional>

#include "dsp/ChannelFilters.h"
#include "dsp/SetGeometry.h"

namespace orvane::ui {

class CFStatic : public QWidget {
  Q_OBJECT

 public:
  // What the graph shows: nothing but the grid, an input or an output.
  enum Mode { kNoChannel = 0, kInput = 3, kOutput = 4 };
  static constexpr int kNotifyMs = 200;

  CFStatic(ParameterImage& image, ChannelFilters& filters, QWidget* parent = nullptr);

  void ShowInput(int channel);
  void ShowOutput(int channel);
  // Repaints with `selectedIndex` as the selected element (-1: none); the
  // pages call it after one of their band or crossover controls changed.
  void Redraw(int selectedIndex);
  // Tells the owner at once of a drag not yet reported, while the page still
  // shows the channel it was made on; the owner calls it before changing the
  // shown channel.
  void FlushNotification();

  int mode() const { return mode_; }
  int channel() const { return channel_; }
  // The plot's geometry of one channel's set.
  const SetGeometry& geometry(Side side, int channel) const;

  QSize sizeHint() const override { return {640, 260}; }

 signals:
  // The element at `index` of the shown set changed by a drag (message 1124).
  void graphChanged(int index, int mode);
  // Every step of a drag, for the readouts that follow it live; the copy to
  // linked channels waits for graphChanged.
  void elementDragged(int index, int mode);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // What the pointer does to the current element.
  struct Grip {
    std::optional<int> element;
    bool markerHovered = false;
    bool leftHovered = false;
    bool rightHovered = false;
    bool pressed = false;
    bool draggingLeft = false;
    bool draggingRight = false;
  };

  Side side() const { return mode_ == kOutput ? Side::Output : Side::Input; }
  CKTVEQ& shownSet();
  SetGeometry& shownGeometry();
  bool bandsLocked() const;
  bool crossoverLocked() const;
  bool kindLocked(int index);
  void releaseLockedGrip();
  void showChannel(Mode mode, int channel);
  void layoutSets();
  bool dragBand(GraphPoint p);
  bool dragCrossover(GraphPoint p);
  void search(GraphPoint p);
  void changed();
  void updateCursor(GraphPoint p);

  ParameterImage& image_;
  ChannelFilters& filters_;
  Mode mode_ = kNoChannel;
  int channel_ = 0;
  int selected_ = -1;
  Grip grip_;
  bool hovering_ = false;
  bool notifyPending_ = false;
  int notifyIndex_ = 0;
  GraphScale scale_;
  std::array<SetGeometry, 2 * kChannels> geometry_{};
  QBasicTimer notifyTimer_;
};

}  // namespace orvane::ui
