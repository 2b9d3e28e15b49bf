#include "ui/settings/NetworkGroup.h"

#include <QGridLayout>
#include <QPushButton>

#include "link/Command.h"
#include "ui/common/UiText.h"
#include "ui/settings/EnglishEdit.h"
#include "ui/settings/HelpButton.h"
#include "ui/settings/SettingsTexts.h"

namespace orvane::ui {

namespace T = SettingsTexts;

namespace {

// The stored name up to its first zero byte, without surrounding blanks.
QString storedName(const std::string& bytes) {
  const std::string name = bytes.substr(0, bytes.find('\0'));
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).trimmed();
}

}  // namespace

NetworkGroup::NetworkGroup(ParameterImage& image, Command& command, bool factoryReset, QWidget* parent)
    : QGroupBox(uiText(T::kNetwork), parent), image_(image), command_(command) {
  auto* grid = new QGridLayout(this);
  name_ = new EnglishEdit(this);
  name_->setObjectName("networkName");
  name_->setText(storedName(image_.read([](const ImageData& d) { return d.system.networkName; })));
  grid->addWidget(name_, 0, 0, 1, 2);
  rename_ = new QPushButton(uiText(T::kRename), this);
  rename_->setAutoDefault(false);
  grid->addWidget(rename_, 1, 0);
  connect(rename_, &QPushButton::clicked, this, &NetworkGroup::onRename);
  if (factoryReset) {
    reset_ = new QPushButton(uiText(T::kFactoryReset), this);
    reset_->setAutoDefault(false);
    grid->addWidget(reset_, 2, 0);
    connect(reset_, &QPushButton::clicked, this, &NetworkGroup::onReset);
  }
  help_ = new HelpButton(Dev_Set_Cap::Topic::Network, this);
  grid->addWidget(help_, 1, 1);
}

bool NetworkGroup::linkOpen() const {
  return image_.read([](const ImageData& d) { return d.connection.linkType != LinkType::None; });
}

// Sends the name as it stands, without surrounding blanks; an empty field
// sends an empty name.
void NetworkGroup::onRename() {
  if (!linkOpen()) return;
  const QByteArray name = name_->text().trimmed().toLatin1();
  image_.modify([&](ImageData& d) { d.system.networkName.assign(name.constData(), name.size()); });
  command_.SendSystemItem(0, SystemItem::NetworkName);
}

void NetworkGroup::onReset() {
  if (linkOpen()) command_.SendSystemItem(0, SystemItem::NetworkFactoryReset);
}

}  // namespace orvane::ui
