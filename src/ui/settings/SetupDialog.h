#pragma once

// What the two set-up dialogs share: the working copy of the set-up block
// (a SetupSession for as long as the dialog is open), the general column
// (conversion, optical delay, start-up program, network) and the priority
// group. Every change goes to the device at once; there is no apply step,
// and Enter and Escape do not close the dialog. A slave found with analog
// output is reported once the dialog shows.
//
// The model decides the layout: `SetUpDlg` adds the camera controls and the
// network factory reset, `DMD_SetUp_Dlg` has neither.

#include <QDialog>
#include <memory>

#include "ui/settings/SetupSession.h"

class QBoxLayout;

namespace orvane::ui {

class CameraGroup;
class ChoiceGroup;
class ConversionGroup;
class NetworkGroup;
class PriorityGroup;

class SetupDialog : public QDialog {
  Q_OBJECT

 public:
  // The dialog of `modelCode` (7304 or 736).
  static std::unique_ptr<SetupDialog> create(int modelCode, ParameterImage& image, Command& command,
                                             QWidget* parent);
  ~SetupDialog() override;

  ConversionGroup* conversion() const { return conversion_; }
  PriorityGroup* priority() const { return priority_; }
  ChoiceGroup* opticalDelay() const { return opticalDelay_; }
  ChoiceGroup* startupProgram() const { return startup_; }
  NetworkGroup* network() const { return network_; }
  // Null in the layout without camera controls.
  virtual CameraGroup* camera() const { return nullptr; }

 protected:
  SetupDialog(ParameterImage& image, Command& command, bool cameraModel, QWidget* parent);

  // The column of conversion, optical delay, start-up program and network.
  QWidget* generalColumn() const { return general_; }
  const SetupSettings& settings() const { return session_.settings(); }
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* buildGeneralColumn(ParameterImage& image, Command& command, bool cameraModel);

  SetupSession session_;
  ConversionGroup* conversion_ = nullptr;
  PriorityGroup* priority_ = nullptr;
  ChoiceGroup* opticalDelay_ = nullptr;
  ChoiceGroup* startup_ = nullptr;
  NetworkGroup* network_ = nullptr;
  QWidget* general_ = nullptr;
  bool warned_ = false;
};

}  // namespace orvane::ui
