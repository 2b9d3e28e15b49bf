#include "ui/locks/PasswordStepDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/Language.h"
#include "ui/common/UiText.h"
#include "ui/locks/PassWordEdit.h"

namespace orvane::ui {

namespace {

using Step = PasswordStep;
using Button = PasswordButton;

struct StepField {
  BiText caption;
  BiText hint;
};

// A button with the label before it and the note after it, where it has
// them.
struct StepButton {
  Button button;
  BiText caption;
  BiText label{};
  BiText note{};
};

struct StepContent {
  BiText title;
  std::vector<BiText> lines;  // shown above the fields and buttons
  std::vector<StepField> fields;
  std::vector<StepButton> buttons;
  bool exit = true;  // an EXIT button at the bottom
};

constexpr BiText kOk{"OK", "确定"};
constexpr BiText kBack{"BACK", "返回上一级"};
constexpr BiText kExit{"EXIT", "退出"};
constexpr BiText kRetype{"Reset password", "重输密码"};
constexpr BiText kChangeLocked{"Change Locked item", "修改锁定项"};
constexpr BiText kLockTitle{"Lock change", "锁定修改"};

const StepContent& contentOf(Step step) {
  static const std::array<StepContent, 11> contents{{
      // NoPWLockDlg
      {{"Lock", "锁定"},
       {{"Info: After completing \" PASSWORD SETUP \",limit password must be entered into the lock interface "
         "next "
         "time. Please be sure remember the limit password of the device. Or the device can not be entered "
         "into "
         "the lock interface and change the locked parameters!",
         "提示：“ 设置密码 "
         "”操作成功后，下次进入该设备的锁定界面\n将必须输入权限密码。所以务必记住设备的权限密码，否则\n"
         "以后你将无法进入到该设备的锁定界面修改锁定参数。"}},
       {},
       {{Button::NoPassword, {"NO PASSWORD", "无密码"}, {"LIMIT 1:", "权限方式1："}},
        {Button::PasswordSetup, {"PASSWORD SETUP", "设置密码"}, {"LIMIT 2:", "权限方式2："}}}},
      // SetPWDlg
      {{"Password setup", "设置密码"},
       {{"Info: Only enter twice same password can setup the password",
         "提示：2次输入密码相同才可以设定密码。"}},
       {{{"Password(6 digit)", "请输入密码（6位）"},
         {"6 digit English letters and numbers", "6位英文字母或数字"}},
        {{"Re-type password(6 digit)", "再输入密码（6位）"},
         {"6 digit English letters and numbers ", "6位英文字母或数字"}}},
       {{Button::Ok, kOk}, {Button::Back, kBack}},
       false},
      // SetPWErrorDlg
      {{"Password setup failed", "设置密码失败"},
       {{"Password setup failed!", "密码设置失败！"}},
       {},
       {{Button::Reset, {"Reset password", "重设密码"}}}},
      // InPutPWDlg
      {{"LOCK", "锁定"},
       {},
       {{{"Enter password(6 digit)", "请输入密码（6位）"},
         {"6-digit English letters or numbers", "6位英文字母或数字"}}},
       {{Button::Ok, kOk}}},
      // InputPWErrorDlg
      {{"Enter incorrect password", "密码输入错误"},
       {{"password entered wrong!", "密码输入错误！"}},
       {},
       {{Button::Reset, kRetype}}},
      // MDLockDlg
      {kLockTitle,
       {{"Password enter correct, please select next!", "密码输入正确，请选择下一步"}},
       {},
       {{Button::ChangeLockedItem, kChangeLocked},
        {Button::ChangePassword,
         {"Change password", "修改密码"},
         {},
         {"Info: Complete this operation can change original password!", "提示：本操作成功会修改原密码！"}},
        {Button::UnlockPassword,
         {"Unlock password", "解除密码"},
         {},
         {"Info: Complete this operation can unlock original password!", "提示：本操作成功会解除原密码！"}}}},
      // MDPWDlg
      {{"Password change", "修改密码"},
       {},
       {{{"New password(6 digit)", "请输入新密码（6位）"},
         {"6 digit English letters and numbers ", "6位英文字母或数字"}},
        {{"Re-type new password(6 digit) ", "再输入新密码（6位）"},
         {"6 digit English letters and numbers ", "6位英文字母或数字"}}},
       {{Button::Ok, kOk}, {Button::Back, kBack}},
       false},
      // MDPWErrorDlg
      {{"Password change failed", "密码修改失败"},
       {{"New password entered wrong!", "新密码输入错误！"}},
       {},
       {{Button::Reset, kRetype}}},
      // MDOKDlg
      {kLockTitle, {{"Password changed!", "密码已修改！"}}, {}, {{Button::ChangeLockedItem, kChangeLocked}}},
      // ClearPWDlg
      {{" Unlock password", "解除密码"},
       {{"Note: After unlocking the password, No password can be selected and enter locked menu.Please "
         "consider "
         "carefully!",
         "注意：解除密码后将可以选择“无密码”方式\n进入锁定菜单，请慎重考虑。！"}},
       {},
       {{Button::Yes, {"Yes", "是"}, {}, {" Unlock the password!", "本操作会解除密码！"}},
        {Button::No, {"No", "否"}, {}, {"Back to the last step!", "本操作不解除密码回到上一级！"}}}},
      // ClearPWOKDlg
      {{" Lock change", "锁定修改"},
       {{"Password unlocked", "密码已解除！"}},
       {},
       {{Button::ChangeLockedItem, {"Change Locked item", "修改锁定项目"}}}},
  }};
  return contents.at(static_cast<std::size_t>(step));
}

QLabel* wrapped(const BiText& text, QWidget* parent) {
  auto* label = new QLabel(uiText(text), parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

PasswordStepDlg::PasswordStepDlg(PasswordStep step, QWidget* parent) : QDialog(parent), step_(step) {
  const StepContent& content = contentOf(step);
  setWindowTitle(uiText(content.title));
  setObjectName("passwordStep");
  auto* layout = new QVBoxLayout(this);
  for (const BiText& line : content.lines) layout->addWidget(wrapped(line, this));
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  for (const StepField& f : content.fields) {
    const int row = grid->rowCount();
    auto* field = new PassWordEdit(this);
    fields_.push_back(field);
    grid->addWidget(new QLabel(uiText(f.caption), this), row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(new QLabel(uiText(f.hint), this), row + 1, 1);
  }
  for (const StepButton& b : content.buttons) {
    const int row = grid->rowCount();
    auto* button = new QPushButton(uiText(b.caption), this);
    buttons_.emplace_back(b.button, button);
    if (!b.label.english.empty()) grid->addWidget(new QLabel(uiText(b.label), this), row, 0);
    grid->addWidget(button, row, 1);
    if (!b.note.english.empty()) grid->addWidget(wrapped(b.note, this), row, 2);
    connect(button, &QPushButton::clicked, this, [this, pressed = b.button] { press(pressed); });
  }
  if (content.exit) {
    auto* exit = new QPushButton(uiText(kExit), this);
    buttons_.emplace_back(Button::Exit, exit);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(exit, 0, Qt::AlignRight);
  }
  // Enter presses the first button, but where a step asks Yes or No it
  // answers No: removing the password takes a deliberate click.
  QPushButton* enter = button(Button::No);
  if (!enter && !buttons_.empty()) enter = buttons_.front().second;
  if (enter) enter->setDefault(true);
  if (!fields_.empty())
    fields_.front()->setFocus();
  else if (enter)
    enter->setFocus();
  setMinimumWidth(content.lines.empty() ? 360 : 480);
}

// The typed passwords do not outlive the dialog.
PasswordStepDlg::~PasswordStepDlg() {
  for (PassWordEdit* field : fields_) field->clear();
}

std::vector<std::string> PasswordStepDlg::entries() const {
  std::vector<std::string> texts;
  for (const PassWordEdit* field : fields_) texts.push_back(field->text().toStdString());
  return texts;
}

QPushButton* PasswordStepDlg::button(PasswordButton wanted) const {
  for (const auto& [which, button] : buttons_)
    if (which == wanted) return button;
  return nullptr;
}

void PasswordStepDlg::press(PasswordButton button) {
  pressed_ = button;
  accept();
}

}  // namespace orvane::ui
