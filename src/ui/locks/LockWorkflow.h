#pragma once

// What the lock button starts: the password dialogs one after the other,
// then, where they lead there, the lock selection. Every new or removed
// password and every new choice of locks is stored in the parameter image
// and handed on to be sent to the device before the next dialog opens.

#include <QObject>
#include <functional>

#include "model/ParameterImage.h"

class QWidget;

namespace orvane::ui {

class LockDataDlg;
class PasswordStepDlg;

class LockWorkflow : public QObject {
  Q_OBJECT

 public:
  // `sendLocks` queues the lock packet for the working state (it does
  // nothing without a link).
  LockWorkflow(ParameterImage& image, std::function<void()> sendLocks, QWidget* window);

  // Runs the dialogs until one leads back to the main window. True when
  // new locks were chosen.
  bool run();

 signals:
  // Each dialog as it opens, before it runs.
  void stepOpened(orvane::ui::PasswordStepDlg* dialog);
  void lockDialogOpened(orvane::ui::LockDataDlg* dialog);

 private:
  std::string password() const;
  void storePassword(const std::string& password);
  bool chooseLocks();

  ParameterImage& image_;
  std::function<void()> sendLocks_;
  QWidget* window_;
};

}  // namespace orvane::ui
