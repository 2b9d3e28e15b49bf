#include "ui/settings/SetUpDlg.h"

#include <QHBoxLayout>

#include "ui/settings/CameraGroup.h"
#include "ui/settings/ConversionGroup.h"
#include "ui/settings/PriorityGroup.h"

namespace orvane::ui {

SetUpDlg::SetUpDlg(ParameterImage& image, Command& command, QWidget* parent)
    : SetupDialog(image, command, true, parent) {
  camera_ = new CameraGroup(image, command, this);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(generalColumn());
  layout->addWidget(priority());
  layout->addWidget(camera_);
  camera_->setMaster(settings().deviceMode() == DeviceMode::Master);
  connect(conversion(), &ConversionGroup::masterChanged, camera_, &CameraGroup::setMaster);
}

}  // namespace orvane::ui
