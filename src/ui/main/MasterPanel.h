#pragma once

// The master section of the main window: the anti-feedback switch of the
// inputs, the master mute and the master level (fader and field) of the side
// whose page is shown; the matrix page hides the level controls.

#include <QFrame>
#include <optional>

#include "link/MasterSection.h"
#include "ui/widgets/WindowPart.h"

class QLabel;

namespace orvane::ui {

class Fader;
class NumField;
class ToggleButton;

class MasterPanel : public QFrame, public WindowPart {
  Q_OBJECT

 public:
  MasterPanel(MasterSection& master, ParameterImage& image, QWidget* parent = nullptr);

  void refreshFromImage() override;
  void applyLanguage() override;
  void applyLocks(const LockState& locks) override;

  ToggleButton* antiFeedbackButton() const { return antiFeedback_; }
  ToggleButton* muteButton() const { return mute_; }
  Fader* fader() const { return fader_; }
  NumField* levelField() const { return level_; }

 private:
  // The side the master section works on: that of the page shown, none for
  // the matrix page.
  std::optional<Side> shownSide() const;
  // Level 0..720; the mute button shows on while the level is not 0.
  void showLevel(int level);
  void userLevel(int level);
  void userMute();

  MasterSection& master_;
  ParameterImage& image_;

  QLabel* title_ = nullptr;
  ToggleButton* antiFeedback_ = nullptr;
  ToggleButton* mute_ = nullptr;
  Fader* fader_ = nullptr;
  NumField* level_ = nullptr;
};

}  // namespace orvane::ui
