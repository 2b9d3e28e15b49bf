#include "ui/settings/DMD_SetUp_Dlg.h"

#include <QHBoxLayout>

#include "ui/settings/PriorityGroup.h"

namespace orvane::ui {

DMD_SetUp_Dlg::DMD_SetUp_Dlg(ParameterImage& image, Command& command, QWidget* parent)
    : SetupDialog(image, command, false, parent) {
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(generalColumn(), 1);
  layout->addWidget(priority(), 1);
}

}  // namespace orvane::ui
