#include "ui/locks/PasswordFlow.h"

#include "model/Password.h"

namespace orvane::ui::PasswordFlow {

namespace {

using Step = PasswordStep;
using Button = PasswordButton;
using To = PasswordMove::To;

PasswordMove to(Step step) {
  return {To::Step, step, std::nullopt};
}

PasswordMove toLockSelection() {
  return {To::LockSelection, Step::NoPWLockDlg, std::nullopt};
}

std::string_view entry(std::span<const std::string> entries, std::size_t i) {
  return i < entries.size() ? std::string_view(entries[i]) : std::string_view();
}

// Both entries of a set-up or change: six allowed characters, twice alike.
std::optional<std::string> newPassword(std::span<const std::string> entries) {
  if (!Password::acceptable(entry(entries, 0), entry(entries, 1))) return std::nullopt;
  return std::string(entry(entries, 0));
}

PasswordMove fromOk(Step step, std::span<const std::string> entries, std::string_view stored) {
  switch (step) {
    case Step::SetPWDlg:
      if (auto accepted = newPassword(entries)) return {To::LockSelection, step, std::move(accepted)};
      return to(Step::SetPWErrorDlg);
    case Step::MDPWDlg:
      if (auto accepted = newPassword(entries)) return {To::Step, Step::MDOKDlg, std::move(accepted)};
      return to(Step::MDPWErrorDlg);
    case Step::InPutPWDlg:
      return to(!stored.empty() && Password::matches(entry(entries, 0), stored) ? Step::MDLockDlg
                                                                                : Step::InputPWErrorDlg);
    default:
      return {};
  }
}

}  // namespace

PasswordStep first(std::string_view stored) {
  return stored.empty() ? Step::NoPWLockDlg : Step::InPutPWDlg;
}

PasswordMove press(PasswordStep step, PasswordButton button, std::span<const std::string> entries,
                   std::string_view stored) {
  switch (button) {
    case Button::Exit:
      return {};
    case Button::NoPassword:
    case Button::ChangeLockedItem:
      return toLockSelection();
    case Button::PasswordSetup:
      return to(Step::SetPWDlg);
    case Button::Ok:
      return fromOk(step, entries, stored);
    case Button::Back:
      return to(step == Step::SetPWDlg ? Step::NoPWLockDlg : Step::MDLockDlg);
    case Button::Reset:
      if (step == Step::SetPWErrorDlg) return to(Step::SetPWDlg);
      if (step == Step::MDPWErrorDlg) return to(Step::MDPWDlg);
      return to(Step::InPutPWDlg);
    case Button::ChangePassword:
      return to(Step::MDPWDlg);
    case Button::UnlockPassword:
      return to(Step::ClearPWDlg);
    case Button::Yes:
      return {To::Step, Step::ClearPWOKDlg, std::string()};
    case Button::No:
      return to(Step::MDLockDlg);
  }
  return {};
}

}  // namespace orvane::ui::PasswordFlow
