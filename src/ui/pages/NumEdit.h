#pragma once

// `NumEdit`: the text part of a numeric entry field. It holds the parameter
// code, shows it in the unit of its display kind and takes typed values
// back by the kind's rule (NumFormat).
//
// The value changes two ways. The program shows a code from the parameter
// image with setValueChecked(), which is silent, so refreshing a page never
// writes the same value back as an edit. The user changes it by typing (taken
// on Enter or on leaving the field), by the Up and Down keys, by the mouse
// wheel or through the spin beside it; each such change that moves the code
// emits valueEdited().
//
// Usually paired with a `NumSpin` (or used as one `NumField`); the owner then
// listens to the spin, which passes on this field's notifications.

#include <QLineEdit>
#include <QPointer>

#include "dsp/NumFormat.h"

namespace orvane::ui {

class NumEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumEdit(QWidget* parent = nullptr);

  // The kind decides the text; the suffix is written after the number by the
  // kinds that show one. Ratio fields take no typing.
  void setDisplayKind(NumKind kind, const QString& suffix = QString());
  NumKind displayKind() const { return format_.kind; }
  QString suffix() const { return QString::fromStdString(format_.suffix); }

  // Value in units = code × step − offset for the scaled kinds.
  void setStep(double step);
  void setOffset(double offset);
  double step() const { return format_.step; }
  double offset() const { return format_.offset; }

  // A reversed range is put in order. The value becomes the minimum.
  void setRange(int minimum, int maximum);
  int minimum() const { return format_.minimum; }
  int maximum() const { return format_.maximum; }

  const NumFormat& format() const { return format_; }

  // The stored code. Typing not yet taken does not count; commit() takes it.
  int value() const { return value_; }

  // Shows `code` without emitting. A code outside the range is refused:
  // returns false and nothing changes.
  bool setValueChecked(int code);

  // Takes typed text that has not been taken yet, as leaving the field
  // does. Emits valueEdited() when the code changes.
  void commit();

  // Moves the code as `steps` presses of a spin arrow would, after taking
  // typed text. Silent: returns whether the code changed, and the caller
  // decides when the owner hears of it (a held arrow reports at most every
  // 400 ms). Does nothing while locked or disabled.
  bool applyArrowSteps(int steps);

  // While locked the field is disabled and shows the lock word of the
  // current language instead of its value; typing still pending is dropped.
  void setLocked(bool locked);
  bool isLocked() const { return locked_; }

  // A second widget that shows a copy of this field's text: anything with a
  // "text" property (a label, another edit). It may be deleted at any time.
  void setMirror(QObject* mirror);
  QObject* mirror() const { return mirror_; }

  // The text shown for the current value (or the lock word), as the field
  // shows it when nothing is being typed.
  QString displayText() const;

  QSize sizeHint() const override;

 public slots:
  // Shows the value again, for example after the language changed.
  void refresh();

 signals:
  // The user changed the code; `code` is already in the range.
  void valueEdited(int code);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The spin steps through this field, forwards wheel turns over its arrows
  // and needs to know when a message box interrupted a press.
  friend class NumSpin;

  bool acceptsInput() const { return !locked_ && isEnabled(); }
  // Parses pending typing into the value and shows the result; reports a
  // negative delay. Returns whether the code changed.
  bool takeTyped();
  void store(int code);
  void redisplay();
  void turnWheel(int angleDelta);
  void pasteFiltered();
  void insertFiltered(const QString& text);

  NumFormat format_;
  int value_ = 0;
  bool locked_ = false;
  int wheelAccumulator_ = 0;  // held within one notch either way
  // Counts "Out of Range" messages, so that a spin arrow knows a message box
  // took the mouse away from it.
  int outOfRangeReports_ = 0;
  bool menuOpen_ = false;  // the context menu is up: the typing goes on
  QPointer<QObject> mirror_;
};

}  // namespace orvane::ui
