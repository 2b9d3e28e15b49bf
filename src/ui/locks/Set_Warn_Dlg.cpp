#include "ui/locks/Set_Warn_Dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/Language.h"
#include "ui/common/UiText.h"

namespace orvane::ui {

namespace {
constexpr BiText kTitle{"Warning", "警告"};
constexpr BiText kQuit{"Quit", "退出"};
constexpr BiText kSettingLocked{"\"Setting\" function has been locked, please unlock!",
                                "“设置”功能已经锁定，请解锁,才能使用。"};
constexpr BiText kDeviceLocked{"\"Device\" function has been locked, please unlock!",
                               "“设备ID”功能已经锁定，请解锁,才能使用。"};
}  // namespace

QString Set_Warn_Dlg::text(Topic topic) {
  return uiText(topic == Topic::Setting ? kSettingLocked : kDeviceLocked);
}

Set_Warn_Dlg::Set_Warn_Dlg(QWidget* parent, Topic topic) : QDialog(parent) {
  setWindowTitle(uiText(kTitle));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(text(topic), this);
  label->setWordWrap(true);
  // Wide enough for the Chinese text on one line; without it the wrapped
  // label shrinks the window to a few characters per line.
  label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 40);
  layout->addWidget(label);
  auto* quit = new QPushButton(uiText(kQuit), this);
  connect(quit, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(quit, 0, Qt::AlignRight);
}

}  // namespace orvane::ui
