#pragma once

// The set-up dialog of model 736: the general column beside the priority
// group, without camera controls and without the network factory reset.

#include "ui/settings/SetupDialog.h"

namespace orvane::ui {

class DMD_SetUp_Dlg : public SetupDialog {
  Q_OBJECT

 public:
  DMD_SetUp_Dlg(ParameterImage& image, Command& command, QWidget* parent);
};

}  // namespace orvane::ui
