#pragma once

// One crosspoint of the matrix mixer page: a switch, a fader and a level
// field (0.5 dB steps, "OFF" at 0) for how much of one input reaches one
// output. It only shows and reports; the page writes the image.

#include <QFrame>

namespace orvane::ui {

class Fader;
class NumField;
class ToggleButton;

class MixCell : public QFrame {
  Q_OBJECT

 public:
  explicit MixCell(QWidget* parent = nullptr);

  // Shows a level code: 0 = off.
  void showLevel(int level);
  int level() const;
  // A locked crosspoint takes no input and shows no level.
  void setLocked(bool locked);

  ToggleButton* toggle() const { return toggle_; }
  Fader* fader() const { return fader_; }
  NumField* field() const { return field_; }

 signals:
  // The level was set with the fader or the field.
  void levelEdited(int level);
  void toggled();

 private:
  void userLevel(int level);

  ToggleButton* toggle_;
  Fader* fader_;
  NumField* field_;
  bool locked_ = false;
};

}  // namespace orvane::ui
