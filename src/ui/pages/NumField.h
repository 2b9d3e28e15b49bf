#pragma once

// A numeric field with its spin beside it, used as one control: the form in
// which pages and dialogs place most parameters. It is configured and read
// like the pair, and passes on the spin's notifications (see NumSpin).

#include <QWidget>

#include "dsp/NumFormat.h"

namespace orvane::ui {

class NumEdit;
class NumSpin;

class NumField : public QWidget {
  Q_OBJECT

 public:
  explicit NumField(QWidget* parent = nullptr);

  NumEdit* edit() const { return edit_; }
  NumSpin* spin() const { return spin_; }

  // Takes the kind, step, offset and range of `scale`.
  void setScale(const ParameterScale& scale, const QString& suffix = QString());
  void setDisplayKind(NumKind kind, const QString& suffix = QString());
  void setStep(double step);
  void setOffset(double offset);
  // The value becomes the minimum.
  void setRange(int minimum, int maximum);
  int minimum() const;
  int maximum() const;

  // Program-side, silent; outside the range "Set Pos Error!" and no change.
  bool setValue(int code);
  int value() const;
  // Shows a code read from the image, limited to the range: a damaged or
  // foreign value shows as the nearest legal one, without a message and
  // without writing anything back.
  void showValue(int code);

  void setLocked(bool locked);
  bool isLocked() const;

 signals:
  void valueEdited(int code);
  void valueHeld(int code);

 private:
  NumEdit* edit_;
  NumSpin* spin_;
};

}  // namespace orvane::ui
