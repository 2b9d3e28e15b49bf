#pragma once

// The 8 x 8 crosspoint buttons of the main window: input i (row) into
// output j (column). A button shows on exactly while that mix level is not 0;
// pressing it switches the crosspoint (the level comes back from its memo).

#include <QFrame>
#include <array>

#include "model/ParameterImage.h"
#include "ui/widgets/WindowPart.h"

class QLabel;
class QPushButton;

namespace orvane::ui {

class ToggleButton;

class CrosspointGrid : public QFrame, public WindowPart {
  Q_OBJECT

 public:
  explicit CrosspointGrid(ParameterImage& image, QWidget* parent = nullptr);

  void refreshFromImage() override;
  void applyLanguage() override;
  void applyLocks(const LockState& locks) override;
  ToggleButton* button(int input, int output) const;
  QPushButton* mixerButton() const { return mixer_; }

 signals:
  // The button that opens the matrix mixer page with the levels.
  void mixerPageRequested();

 private:
  ParameterImage& image_;
  QLabel* title_ = nullptr;
  QPushButton* mixer_ = nullptr;
  std::array<std::array<ToggleButton*, kChannels>, kChannels> buttons_{};
};

}  // namespace orvane::ui
