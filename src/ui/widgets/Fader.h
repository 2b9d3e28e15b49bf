#pragma once

// Gain fader of a channel strip and of the master section: vertical (the
// maximum at the top), or horizontal (the maximum at the right) where a strip
// is a row.
//
// Only the user's own moves are reported: setValue() is how the window shows
// a value from the parameter image, and it stays silent so that refreshing a
// strip never writes the same value back as an edit.

#include <QTransform>
#include <QWidget>
#include <optional>

namespace orvane::ui {

class Fader : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int value READ value WRITE setValue)

 public:
  explicit Fader(QWidget* parent = nullptr);

  void setOrientation(Qt::Orientation orientation);
  Qt::Orientation orientation() const { return orientation_; }

  // A reversed range is put in order; the value is kept inside it.
  void setRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }

  int value() const { return value_; }

  // Arrow keys move by a single step, Page Up/Down and Ctrl+wheel by a page.
  void setSingleStep(int step);
  int singleStep() const { return singleStep_; }
  void setPageStep(int step);
  int pageStep() const { return pageStep_; }

  // Scale ticks every `interval` codes from the minimum; 0 picks ten
  // divisions of the range.
  void setTickInterval(int interval);
  int tickInterval() const;
  // A value engraved with a longer, brighter tick, such as 0 dB.
  void setMarkValue(std::optional<int> value);
  std::optional<int> markValue() const { return mark_; }

  // The fader of the selected strip is drawn in the highlight colour.
  void setHighlighted(bool highlighted);
  bool isHighlighted() const { return highlighted_; }

  // A locked fader shows its scale but no cap, and takes no input: a
  // function lock hides the value as well as protecting it.
  void setLocked(bool locked);
  bool isLocked() const { return locked_; }

  // Where the cap is drawn for the current value.
  QRect capRect() const;
  // How many pixels the cap's centre travels from the minimum to the maximum.
  int travel() const { return travelBottom() - travelTop(); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 public slots:
  // Shows `value` (limited to the range) without emitting valueChanged.
  void setValue(int value);

 signals:
  // The user moved the fader; `value` is already limited to the range.
  void valueChanged(int value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool acceptsInput() const { return !locked_ && isEnabled(); }
  void moveByUser(int value);
  void moveByUserBy(long long delta);

  // Geometry is worked out for an upright fader: "along" runs from the
  // maximum end (0) to the minimum end, "across" is the other axis. A
  // horizontal fader is the upright one turned a quarter clockwise.
  int length() const;
  int thickness() const;
  QTransform toWidget() const;
  int alongAt(const QPointF& point) const;
  QRect uprightCapRect() const;
  int capHeight() const;
  int capWidth() const;
  int travelTop() const;
  int travelBottom() const;
  int yFor(int value) const;
  // The value a cap centred at `along` stands for.
  int valueAt(int along) const;

  void paintGroove(QPainter& painter) const;
  void paintTicks(QPainter& painter) const;
  void paintCap(QPainter& painter) const;

  Qt::Orientation orientation_ = Qt::Vertical;
  int minimum_ = 0;
  int maximum_ = 100;
  int value_ = 0;
  int singleStep_ = 1;
  int pageStep_ = 10;
  int tickInterval_ = 0;
  std::optional<int> mark_;
  bool highlighted_ = false;
  bool locked_ = false;

  bool dragging_ = false;
  int grabOffset_ = 0;  // pointer row minus cap centre while dragging
  int wheelRemainder_ = 0;
};

}  // namespace orvane::ui
