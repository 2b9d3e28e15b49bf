#pragma once

// `NumSpin`: the up/down arrows beside a numeric field, and the handle the
// owner uses for the pair. The buddy `NumEdit` holds the code; the spin
// forwards the range and the lock to it, checks program-side values, moves
// the code when an arrow is pressed and tells the owner.
//
// Owner notifications: valueEdited() for every finished user change — typing
// taken in the buddy, a wheel notch, an arrow key, and a click on an arrow
// when the button is released. While an arrow is held down the code keeps
// moving, but the owner hears of it through valueHeld() at most once per
// notify period (400 ms), so a held arrow does not flood the link with a
// parameter write per step; the release then brings valueEdited() with the
// final code. An owner that sends values live connects both signals.

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace orvane::ui {

class NumEdit;

class NumSpin : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDefaultNotifyPeriodMs = 400;

  explicit NumSpin(QWidget* parent = nullptr);

  // The field that shows and holds the code. Its own valueEdited() is passed
  // on through this spin.
  void setBuddy(NumEdit* buddy);
  NumEdit* buddy() const { return buddy_; }

  // Forwarded to the buddy, whose value becomes the minimum.
  void setRange(int minimum, int maximum);
  int minimum() const;
  int maximum() const;

  // Program-side: shows `code` without emitting. A code outside the range
  // changes nothing and tells the user "Set Pos Error!"; returns false then.
  bool setValue(int code);
  int value() const;

  // Locks the buddy (it shows the lock word) and disables the arrows.
  void setLocked(bool locked);
  bool isLocked() const { return locked_; }

  // How often a held arrow tells the owner of the code it reached.
  void setNotifyPeriod(int milliseconds);
  int notifyPeriod() const { return notifyPeriod_; }
  // Delay before a held arrow starts repeating, and the time per repeat.
  void setAutoRepeat(int delayMilliseconds, int intervalMilliseconds);
  int autoRepeatDelay() const { return repeatDelay_; }
  int autoRepeatInterval() const { return repeatInterval_; }

  // +1 while the up arrow is held with the mouse, -1 for the down arrow.
  int heldArrow() const { return held_; }
  QRect upArrowRect() const;
  QRect downArrowRect() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void valueEdited(int code);
  void valueHeld(int code);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  bool acceptsInput() const;
  void repeatStep();
  void notifyTick();
  // Ends a hold; the owner hears of the code if the hold changed it.
  void endHold();

  QPointer<NumEdit> buddy_;
  QMetaObject::Connection buddyEdited_;
  QTimer repeat_;
  QTimer notify_;
  int held_ = 0;
  bool changedSinceNotice_ = false;
  bool changedInHold_ = false;
  bool locked_ = false;
  int notifyPeriod_ = kDefaultNotifyPeriodMs;
  int repeatDelay_ = 0;
  int repeatInterval_ = 0;
};

}  // namespace orvane::ui
