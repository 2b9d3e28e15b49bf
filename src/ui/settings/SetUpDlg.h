#pragma once

// The set-up dialog of model 7304: the general column, the priority group
// and the camera controls, which work in master mode only.

#include "ui/settings/SetupDialog.h"

namespace orvane::ui {

class SetUpDlg : public SetupDialog {
  Q_OBJECT

 public:
  SetUpDlg(ParameterImage& image, Command& command, QWidget* parent);

  CameraGroup* camera() const override { return camera_; }

 private:
  CameraGroup* camera_;
};

}  // namespace orvane::ui
