#include "ui/locks/LockWorkflow.h"

#include "ui/locks/LockDataDlg.h"
#include "ui/locks/PasswordStepDlg.h"

namespace orvane::ui {

LockWorkflow::LockWorkflow(ParameterImage& image, std::function<void()> sendLocks, QWidget* window)
    : image_(image), sendLocks_(std::move(sendLocks)), window_(window) {}

bool LockWorkflow::run() {
  PasswordStep step = PasswordFlow::first(password());
  for (;;) {
    PasswordMove move;
    {
      PasswordStepDlg dialog(step, window_);
      emit stepOpened(&dialog);
      dialog.exec();
      move = PasswordFlow::press(step, dialog.pressed(), dialog.entries(), password());
    }
    if (move.newPassword) storePassword(*move.newPassword);
    switch (move.to) {
      case PasswordMove::To::MainWindow:
        return false;
      case PasswordMove::To::LockSelection:
        return chooseLocks();
      case PasswordMove::To::Step:
        step = move.step;
        break;
    }
  }
}

std::string LockWorkflow::password() const {
  return image_.read([](const ImageData& d) { return d.locks.password; });
}

void LockWorkflow::storePassword(const std::string& password) {
  image_.modify([&](ImageData& d) { d.locks.password = password; });
  sendLocks_();
}

bool LockWorkflow::chooseLocks() {
  LockDataDlg dialog(image_.read([](const ImageData& d) { return d.locks; }), window_);
  emit lockDialogOpened(&dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  image_.modify([&](ImageData& d) { dialog.selection().storeInto(d.locks); });
  sendLocks_();
  return true;
}

}  // namespace orvane::ui
