#pragma once

// One dialog of the password chain: its title, texts, password fields and
// buttons, in the language chosen when it opens. It reports which button
// closed it and what was typed.

#include <QDialog>
#include <string>
#include <vector>

#include "ui/locks/PasswordFlow.h"

class QPushButton;

namespace orvane::ui {

class PassWordEdit;

class PasswordStepDlg : public QDialog {
  Q_OBJECT

 public:
  PasswordStepDlg(PasswordStep step, QWidget* parent = nullptr);
  ~PasswordStepDlg() override;

  PasswordStep step() const { return step_; }
  // The button that closed the dialog; Exit for the close box.
  PasswordButton pressed() const { return pressed_; }
  // The texts of the password fields, in order.
  std::vector<std::string> entries() const;

  const std::vector<PassWordEdit*>& fields() const { return fields_; }
  QPushButton* button(PasswordButton button) const;

 private:
  void press(PasswordButton button);

  PasswordStep step_;
  PasswordButton pressed_ = PasswordButton::Exit;
  std::vector<PassWordEdit*> fields_;
  std::vector<std::pair<PasswordButton, QPushButton*>> buttons_;
};

}  // namespace orvane::ui
