#pragma once

// The 8 x 8 crosspoint buttons of the main window: input i (row) into
// output j (column). A button shows on exactly while that mix level is not 0.

#include <QFrame>
#include <array>

#include "model/BlockLayout.h"

class QLabel;

namespace orvane::ui {

class ToggleButton;

class CrosspointGrid : public QFrame {
  Q_OBJECT

 public:
  explicit CrosspointGrid(QWidget* parent = nullptr);

  void showOn(int input, int output, bool on);
  void setLocked(bool locked);
  void applyLanguage();
  ToggleButton* button(int input, int output) const;

 signals:
  void crosspointClicked(int input, int output);

 private:
  QLabel* title_ = nullptr;
  std::array<std::array<ToggleButton*, kChannels>, kChannels> buttons_{};
};

}  // namespace orvane::ui
