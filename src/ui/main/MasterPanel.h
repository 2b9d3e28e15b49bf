#pragma once

// The master section of the main window: the anti-feedback switch of the
// inputs, the master mute and the master level (fader and field) of the side
// whose page is shown. Like the strips it only shows and reports.

#include <QFrame>

class QLabel;

namespace orvane::ui {

class Fader;
class NumField;
class ToggleButton;

class MasterPanel : public QFrame {
  Q_OBJECT

 public:
  explicit MasterPanel(QWidget* parent = nullptr);

  // Level 0..720; the mute button shows on while the level is not 0.
  void showLevel(int level);
  void showAntiFeedback(bool on);
  // The level controls and the mute button, which the matrix view hides.
  void showLevelControls(bool shown);
  void lockLevel(bool locked);
  void lockAntiFeedback(bool locked);
  void applyLanguage();

  ToggleButton* antiFeedbackButton() const { return antiFeedback_; }
  ToggleButton* muteButton() const { return mute_; }
  Fader* fader() const { return fader_; }
  NumField* levelField() const { return level_; }

 signals:
  void antiFeedbackClicked(bool on);
  void muteClicked();
  // From the fader or the field; the panel already shows the new level.
  void levelEdited(int level);

 private:
  void userLevel(int level);

  QLabel* title_ = nullptr;
  ToggleButton* antiFeedback_ = nullptr;
  ToggleButton* mute_ = nullptr;
  Fader* fader_ = nullptr;
  NumField* level_ = nullptr;
};

}  // namespace orvane::ui
