#include "ui/settings/HelpButton.h"

#include "ui/common/UiText.h"
#include "ui/settings/SettingsTexts.h"

namespace orvane::ui {

HelpButton::HelpButton(Dev_Set_Cap::Topic topic, QWidget* parent)
    : QPushButton(uiText(SettingsTexts::kHelp), parent), topic_(topic) {
  setObjectName(QStringLiteral("help%1").arg(static_cast<int>(topic)));
  setAutoDefault(false);
  connect(this, &QPushButton::clicked, this, [this] {
    Dev_Set_Cap window(topic_, this->window());
    emit helpOpened(&window);
    window.exec();
  });
}

}  // namespace orvane::ui
