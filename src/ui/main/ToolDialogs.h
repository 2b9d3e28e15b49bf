#pragma once

// The dialogs behind three buttons of the tool bar: the lock button's
// password dialogs and lock selection, the set-up dialog of the model (or a
// warning while the settings are locked) and the report of every parameter.
// Each dialog is announced as it opens, before it runs, so the window can
// hand it on to whoever watches.

#include <QObject>
#include <QPointer>

#include "model/ParameterImage.h"
#include "model/ProductVariant.h"

class QWidget;

namespace orvane {
class ChannelFilters;
class Command;
}  // namespace orvane

namespace orvane::ui {

class DataViewDlg;
class LockDataDlg;
class PasswordStepDlg;
class SetupDialog;
class TopBar;

class ToolDialogs : public QObject {
  Q_OBJECT

 public:
  // The report's heading comes from the status fields of `topBar`; the
  // set-up dialog is that of `variant`'s model.
  ToolDialogs(ParameterImage& image, Command& command, ChannelFilters& filters, const TopBar& topBar,
              const ProductVariant& variant, QWidget* window);

  // The password dialogs, then the lock selection; new locks are sent to
  // the device. True when new locks were chosen.
  bool runLocks();
  // The set-up dialog of the model, or a warning while the settings are
  // locked.
  void openSettings();
  // Closes the set-up dialog if it is open (its device is gone).
  void closeSettings();
  // Every parameter in one table.
  void openReport();

 signals:
  void lockStepOpened(orvane::ui::PasswordStepDlg* dialog);
  void lockDialogOpened(orvane::ui::LockDataDlg* dialog);
  void settingsOpened(orvane::ui::SetupDialog* dialog);
  void reportOpened(orvane::ui::DataViewDlg* dialog);

 private:
  ParameterImage& image_;
  Command& command_;
  ChannelFilters& filters_;
  const TopBar& topBar_;
  const ProductVariant variant_;
  QWidget* window_;
  // The set-up dialog while it is open.
  QPointer<SetupDialog> settings_;
};

}  // namespace orvane::ui
