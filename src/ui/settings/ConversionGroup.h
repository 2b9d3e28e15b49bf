#pragma once

// The digital / analog conversion group of the set-up dialogs: device mode,
// output selection and the 0 dBFS reference. A slave takes digital output
// only: choosing slave mode selects it and disables the list.

#include <QGroupBox>

namespace orvane {
class SetupSession;
}

class QComboBox;

namespace orvane::ui {

class HelpButton;
class NumField;

class ConversionGroup : public QGroupBox {
  Q_OBJECT

 public:
  ConversionGroup(SetupSession& session, QWidget* parent);

  QComboBox* deviceModeList() const { return deviceMode_; }
  QComboBox* outputList() const { return output_; }
  NumField* zeroDbfsField() const { return zeroDbfs_; }
  HelpButton* helpButton() const { return help_; }

 signals:
  void masterChanged(bool master);

 private:
  void showOutput();
  void onDeviceMode(int index);
  void onOutput(int index);

  SetupSession& session_;
  QComboBox* deviceMode_;
  QComboBox* output_;
  NumField* zeroDbfs_;
  HelpButton* help_;
};

}  // namespace orvane::ui
