#pragma once

// The matrix mixer page: the 64 crosspoints of the 8 x 8 matrix with their
// levels, input A..H down, output 1..8 across. A level set here is written
// into the edited image and remembered for switching the crosspoint on again;
// linked inputs do not follow it.

#include <QWidget>
#include <array>

#include "model/ParameterImage.h"
#include "ui/widgets/WindowPart.h"

class QLabel;

namespace orvane::ui {

class MixCell;

class InMicDlg : public QWidget, public WindowPart {
  Q_OBJECT

 public:
  explicit InMicDlg(ParameterImage& image, QWidget* parent = nullptr);

  MixCell* cell(int input, int output) const;

  // Loads all 64 crosspoints from the image.
  void ShowAll();

  void refreshFromImage() override { ShowAll(); }
  void applyLanguage() override;
  void applyLocks(const LockState& locks) override;

 private:
  void onLevel(int input, int output, int level);
  void onToggle(int input, int output);

  ParameterImage& image_;
  QLabel* title_ = nullptr;
  std::array<std::array<MixCell*, kChannels>, kChannels> cells_{};
};

}  // namespace orvane::ui
