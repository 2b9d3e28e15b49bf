#pragma once

// The chain of small dialogs behind the lock button: working without a
// password or setting one, entering it, changing it or removing it, each
// with its confirmation or error, ending at the lock selection or back at
// the main window. This is where each press leads; the dialogs only show a
// step and report the press.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvane::ui {

// One dialog of the chain each.
enum class PasswordStep {
  NoPWLockDlg,      // no password set: work without one, or set one
  SetPWDlg,         // enter a new password twice
  SetPWErrorDlg,    // the two entries were not an acceptable password
  InPutPWDlg,       // enter the password
  InputPWErrorDlg,  // the entry was not the password
  MDLockDlg,        // password correct: change locks, change or remove it
  MDPWDlg,          // enter a new password twice
  MDPWErrorDlg,     // the two entries were not an acceptable password
  MDOKDlg,          // password changed
  ClearPWDlg,       // remove the password?
  ClearPWOKDlg,     // password removed
};

enum class PasswordButton {
  NoPassword,
  PasswordSetup,
  Ok,
  Back,
  Reset,
  ChangeLockedItem,
  ChangePassword,
  UnlockPassword,
  Yes,
  No,
  Exit,  // the EXIT button or the window's close box
};

struct PasswordMove {
  enum class To { Step, LockSelection, MainWindow };
  To to = To::MainWindow;
  PasswordStep step = PasswordStep::NoPWLockDlg;
  // The password to store and send before going on; empty removes it.
  std::optional<std::string> newPassword;
};

namespace PasswordFlow {

// Where the lock button leads.
PasswordStep first(std::string_view stored);

// Where pressing `button` in `step` leads, given what was typed into the
// step's password fields and the password stored.
PasswordMove press(PasswordStep step, PasswordButton button, std::span<const std::string> entries,
                   std::string_view stored);

}  // namespace PasswordFlow

}  // namespace orvane::ui
