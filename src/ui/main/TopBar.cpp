#include "ui/main/TopBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include "model/NameField.h"
#include "ui/common/UiText.h"
#include "ui/compare/CompareTexts.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

namespace {

const QString kNull = QStringLiteral("NULL");
constexpr std::size_t kProgramsTool = 0;
constexpr std::size_t kDeviceIdTool = 1;
constexpr std::size_t kSettingTool = 2;
constexpr std::size_t kLockTool = 3;
constexpr std::size_t kReportTool = 4;
constexpr std::size_t kCompareTool = 5;

}  // namespace

TopBar::TopBar(ParameterImage& image, const ConnectionChoices& choices, QWidget* parent)
    : QWidget(parent), image_(image), choices_(choices) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);

  helpButton_ = new QToolButton(this);
  helpButton_->setObjectName("help");
  helpButton_->setPopupMode(QToolButton::MenuButtonPopup);
  auto* helpMenu = new QMenu(helpButton_);
  helpMenu->addAction(QString(), this, &TopBar::aboutClicked)->setObjectName("about");
  helpButton_->setMenu(helpMenu);
  connect(helpButton_, &QToolButton::clicked, this, &TopBar::helpClicked);
  row->addWidget(helpButton_);

  for (QPushButton*& button : toolButtons_) {
    button = new QPushButton(this);
    row->addWidget(button);
  }
  addTool(kProgramsTool, "programs", &TopBar::programsClicked);
  addTool(kDeviceIdTool, "deviceId", &TopBar::deviceIdClicked);
  addTool(kSettingTool, "setting", &TopBar::settingClicked);
  addTool(kLockTool, "lock", &TopBar::lockClicked);
  addTool(kReportTool, "report", &TopBar::reportClicked);
  addTool(kCompareTool, "compare", &TopBar::compareClicked);

  linkButton_ = new QPushButton(this);
  linkButton_->setObjectName("link");
  linkButton_->setCheckable(true);
  connect(linkButton_, &QPushButton::clicked, this, &TopBar::linkClicked);
  row->addWidget(linkButton_);
  languageButton_ = new QPushButton(this);
  languageButton_->setObjectName("language");
  connect(languageButton_, &QPushButton::clicked, this, &TopBar::languageClicked);
  row->addWidget(languageButton_);
  // Undo and redo stand apart, and stay on the matrix page.
  row->addSpacing(12);
  for (const auto& [button, name] : {std::pair{&undoButton_, "undo"}, {&redoButton_, "redo"}}) {
    *button = new QToolButton(this);
    (*button)->setObjectName(QString::fromLatin1(name));
    row->addWidget(*button);
  }
  row->addStretch();
  buildStatusFields();
}

void TopBar::addTool(std::size_t tool, const char* name, void (TopBar::*clicked)()) {
  QPushButton* button = toolButtons_.at(tool);
  button->setObjectName(QString::fromLatin1(name));
  connect(button, &QPushButton::clicked, this, clicked);
}

void TopBar::buildStatusFields() {
  const std::array<int, 3> widths{150, 40, 120};
  for (std::size_t i = 0; i < statusFields_.size(); ++i) {
    statusLabels_[i] = new QLabel(this);
    statusFields_[i] = new QLineEdit(this);
    statusFields_[i]->setReadOnly(true);
    statusFields_[i]->setFocusPolicy(Qt::NoFocus);
    statusFields_[i]->setFixedWidth(widths[i]);
    statusFields_[i]->setObjectName(QStringLiteral("status%1").arg(i));
    layout()->addWidget(statusLabels_[i]);
    layout()->addWidget(statusFields_[i]);
  }
}

void TopBar::showStatus(Status status) {
  const auto [link, deviceId, number, name] = image_.read([](const ImageData& d) {
    return std::tuple(d.connection.linkType, d.connection.deviceId, d.currentProgramNumber,
                      d.currentProgramName);
  });
  statusFields_[kNameField]->setText(QString::fromStdString(NameField::FieldToText(name, name.size())));
  if (status == Status::Offline) {
    statusFields_[kLinkField]->setText(kNull);
    statusFields_[kNumberField]->setText(kNull);
    return;
  }
  switch (link) {
    case LinkType::Serial:
      statusFields_[kLinkField]->setText(QStringLiteral("ID:%1").arg(deviceId));
      break;
    case LinkType::Usb:
      statusFields_[kLinkField]->setText(QStringLiteral("USB"));
      break;
    case LinkType::Network:
      statusFields_[kLinkField]->setText(choices_.networkAddress);
      break;
    default:
      statusFields_[kLinkField]->setText(kNull);
      break;
  }
  statusFields_[kNumberField]->setText(status == Status::ProgramFile ? QStringLiteral("PC")
                                                                     : QString::number(number));
}

void TopBar::showLinkState(bool connected) {
  linkButton_->setChecked(connected);
  linkButton_->setText(uiText(connected ? MainTexts::kDisconnect : MainTexts::kConnect));
}

void TopBar::showTools(bool shown) {
  helpButton_->setVisible(shown);
  for (QPushButton* button : toolButtons_) button->setVisible(shown);
}

void TopBar::showHistoryActions(QAction* undo, QAction* redo) {
  undoButton_->setDefaultAction(undo);
  redoButton_->setDefaultAction(redo);
}

QString TopBar::statusText(int field) const {
  return statusFields_.at(static_cast<std::size_t>(field))->text();
}

void TopBar::refreshFromImage() {
  const bool connected =
      image_.read([](const ImageData& d) { return d.connection.linkType != LinkType::None; });
  showStatus(connected ? Status::DeviceProgram : Status::Offline);
  showLinkState(connected);
}

void TopBar::applyLanguage() {
  helpButton_->setText(uiText(MainTexts::kHelp));
  helpButton_->menu()->actions().front()->setText(uiText(MainTexts::kAbout));
  const std::array<BiText, 6> tools{MainTexts::kPrograms, MainTexts::kDeviceIdButton,
                                    MainTexts::kSetting,  MainTexts::kLockButton,
                                    MainTexts::kReport,   CompareTexts::kCompareButton};
  for (std::size_t i = 0; i < tools.size(); ++i) toolButtons_[i]->setText(uiText(tools[i]));
  showLinkState(linkButton_->isChecked());
  languageButton_->setText(uiText(MainTexts::kLanguageButton));
  const std::array<BiText, 3> status{MainTexts::kProgramName, MainTexts::kProgramNumber, MainTexts::kLink};
  for (std::size_t i = 0; i < status.size(); ++i) statusLabels_[i]->setText(uiText(status[i]));
}

}  // namespace orvane::ui
