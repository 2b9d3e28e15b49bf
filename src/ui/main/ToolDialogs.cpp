#include "ui/main/ToolDialogs.h"

#include <memory>

#include "link/Command.h"
#include "ui/locks/LockDataDlg.h"
#include "ui/locks/LockWorkflow.h"
#include "ui/locks/PasswordStepDlg.h"
#include "ui/locks/Set_Warn_Dlg.h"
#include "ui/main/TopBar.h"
#include "ui/report/DataViewDlg.h"
#include "ui/settings/SetupDialog.h"

namespace orvane::ui {

ToolDialogs::ToolDialogs(ParameterImage& image, Command& command, ChannelFilters& filters,
                         const TopBar& topBar, const ProductVariant& variant, QWidget* window)
    : image_(image),
      command_(command),
      filters_(filters),
      topBar_(topBar),
      variant_(variant),
      window_(window) {}

bool ToolDialogs::runLocks() {
  LockWorkflow flow(
      image_, [this] { command_.SendProgramCommand(ProgramOp::WriteLocks, 0, true); }, window_);
  connect(&flow, &LockWorkflow::stepOpened, this, &ToolDialogs::lockStepOpened);
  connect(&flow, &LockWorkflow::lockDialogOpened, this, &ToolDialogs::lockDialogOpened);
  return flow.run();
}

void ToolDialogs::openSettings() {
  if (image_.read([](const ImageData& d) { return d.locks.isLocked(LockFlag::Settings); })) {
    Set_Warn_Dlg(window_, Set_Warn_Dlg::Topic::Setting).exec();
    return;
  }
  const std::unique_ptr<SetupDialog> dialog =
      SetupDialog::create(variant_.modelCode, image_, command_, window_);
  settings_ = dialog.get();
  emit settingsOpened(dialog.get());
  dialog->exec();
}

void ToolDialogs::closeSettings() {
  if (settings_) settings_->reject();
}

void ToolDialogs::openReport() {
  const ReportHeading heading{
      topBar_.statusText(TopBar::kNameField), topBar_.statusText(TopBar::kNumberField),
      topBar_.statusText(TopBar::kLinkField),
      QString::number(image_.read([](const ImageData& d) { return d.connection.deviceId; }))};
  DataViewDlg dialog(ReportTable::build(image_, filters_), heading, window_);
  emit reportOpened(&dialog);
  dialog.exec();
}

}  // namespace orvane::ui
