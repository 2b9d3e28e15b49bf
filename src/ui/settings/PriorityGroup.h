#pragma once

// The priority group of the set-up dialogs: the operating mode, then the
// level and threshold of each input and the number of simultaneous
// channels, which always show the set of the operating mode selected, and
// the attenuations of both modes.

#include <QGroupBox>
#include <array>

namespace orvane {
class SetupSession;
}

class QComboBox;

namespace orvane::ui {

class AttenuationGrid;
class HelpButton;
class NumField;

class PriorityGroup : public QGroupBox {
  Q_OBJECT

 public:
  static constexpr int kInputs = 8;

  // `cameraCaption`: the layout with camera controls heads the input rows
  // with the camera caption, as the thresholds also steer the camera.
  PriorityGroup(SetupSession& session, bool cameraCaption, QWidget* parent);

  QComboBox* operatingModeList() const { return operatingMode_; }
  QComboBox* levelList(int input) const { return levels_[static_cast<std::size_t>(input)]; }
  NumField* thresholdField(int input) const { return thresholds_[static_cast<std::size_t>(input)]; }
  QComboBox* simultaneousList() const { return simultaneous_; }
  AttenuationGrid* attenuations() const { return attenuations_; }
  HelpButton* priorityHelp() const { return priorityHelp_; }
  HelpButton* attenuationHelp() const { return attenuationHelp_; }

 private:
  QWidget* buildInputRows(bool cameraCaption);
  // Shows the levels, thresholds and channels of the current mode's set.
  void showModeSet();

  SetupSession& session_;
  QComboBox* operatingMode_;
  std::array<QComboBox*, kInputs> levels_{};
  std::array<NumField*, kInputs> thresholds_{};
  QComboBox* simultaneous_;
  AttenuationGrid* attenuations_;
  HelpButton* priorityHelp_;
  HelpButton* attenuationHelp_;
};

}  // namespace orvane::ui
