#include "ui/settings/SetupDialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/settings/ChoiceGroup.h"
#include "ui/settings/ConversionGroup.h"
#include "ui/settings/DMD_SetUp_Dlg.h"
#include "ui/settings/NetworkGroup.h"
#include "ui/settings/PriorityGroup.h"
#include "ui/settings/SetUpDlg.h"
#include "ui/settings/SettingsTexts.h"

namespace orvane::ui {

namespace T = SettingsTexts;

namespace {

QStringList opticalDelayEntries() {
  QStringList entries{QStringLiteral("0mS")};
  for (int steps = 1; steps <= SetupSettings::kOpticalDelaySteps.max; ++steps)
    entries << QStringLiteral("%1*3.09mS").arg(steps);
  return entries;
}

QStringList startupEntries() {
  QStringList entries{uiText(T::kCurrentProgram)};
  for (int program = 1; program <= StartupProgram::kLastProgram; ++program)
    entries << uiText(T::kDeviceProgram) + QString::number(program);
  return entries;
}

}  // namespace

std::unique_ptr<SetupDialog> SetupDialog::create(int modelCode, ParameterImage& image, Command& command,
                                                 QWidget* parent) {
  if (modelCode == 736) return std::make_unique<DMD_SetUp_Dlg>(image, command, parent);
  return std::make_unique<SetUpDlg>(image, command, parent);
}

SetupDialog::SetupDialog(ParameterImage& image, Command& command, bool cameraModel, QWidget* parent)
    : QDialog(parent), session_(image, command) {
  setObjectName("settings");
  setWindowTitle(uiText(T::kTitle));
  general_ = buildGeneralColumn(image, command, cameraModel);
  priority_ = new PriorityGroup(session_, cameraModel, this);
}

// The controls go before the session they write into.
SetupDialog::~SetupDialog() {
  qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

QWidget* SetupDialog::buildGeneralColumn(ParameterImage& image, Command& command, bool cameraModel) {
  auto* column = new QWidget(this);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  conversion_ = new ConversionGroup(session_, column);
  const SetupSettings& s = session_.settings();
  opticalDelay_ = new ChoiceGroup(
      {T::kOpticalDelay, T::kDelayTime}, opticalDelayEntries(), s.opticalDelay(),
      Dev_Set_Cap::Topic::OpticalDelay,
      [this](int steps) { session_.change([steps](SetupSettings& s) { return s.setOpticalDelay(steps); }); },
      column);
  opticalDelay_->list()->setObjectName("opticalDelay");
  startup_ = new ChoiceGroup(
      {T::kStartupGroup, T::kStartupProgram}, startupEntries(), session_.startupProgram(),
      Dev_Set_Cap::Topic::StartupProgram, [this](int index) { session_.selectStartupProgram(index); },
      column);
  startup_->list()->setObjectName("startupProgram");
  network_ = new NetworkGroup(image, command, cameraModel, column);
  for (QWidget* group : std::initializer_list<QWidget*>{conversion_, opticalDelay_, startup_, network_})
    layout->addWidget(group);
  layout->addStretch(1);
  return column;
}

// Changes apply at once: Enter and Escape only take the focus away from the
// field being typed in, which takes the value.
void SetupDialog::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
    setFocus();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void SetupDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (warned_ || !session_.settings().slaveWithAnalogOutput()) return;
  warned_ = true;
  QTimer::singleShot(0, this, [this] { MessageBoxes::inform(this, T::kSlaveAnalog); });
}

}  // namespace orvane::ui
