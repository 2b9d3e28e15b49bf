#include "ui/main/MasterPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <algorithm>

#include "ui/main/MainTexts.h"
#include "ui/main/UiText.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

constexpr int kLevelMax = 720;    // +12 dB
constexpr int kLevelUnity = 600;  // 0 dB
constexpr double kLevelStep = 0.1;
constexpr double kLevelOffset = 60;  // code 1 = -59.9 dB, code 0 = off

}  // namespace

MasterPanel::MasterPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("master");
  setFrameShape(QFrame::StyledPanel);
  title_ = new QLabel(this);
  antiFeedback_ = new ToggleButton(this);
  antiFeedback_->setObjectName("masterAntiFeedback");
  antiFeedback_->setOnColor(QColor(ConsoleLook::kOnRed));
  mute_ = new ToggleButton(this);
  mute_->setObjectName("masterMute");
  mute_->setOnColor(QColor(ConsoleLook::kOnGreen));
  fader_ = new Fader(this);
  fader_->setObjectName("masterFader");
  fader_->setRange(0, kLevelMax);
  fader_->setMarkValue(kLevelUnity);
  fader_->setTickInterval(120);
  fader_->setPageStep(20);
  level_ = new NumField(this);
  level_->setObjectName("masterLevel");
  level_->setDisplayKind(NumKind::LevelOffAtMin, QStringLiteral("dB"));
  level_->setStep(kLevelStep);
  level_->setOffset(kLevelOffset);
  level_->setRange(0, kLevelMax);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->addWidget(title_, 0, 0, 1, 2);
  grid->addWidget(fader_, 1, 0, 4, 1);
  grid->addWidget(antiFeedback_, 1, 1);
  grid->addWidget(mute_, 2, 1);
  grid->addWidget(level_, 3, 1);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(1, 1);

  connect(antiFeedback_, &ToggleButton::clicked, this, &MasterPanel::antiFeedbackClicked);
  connect(mute_, &ToggleButton::clicked, this, &MasterPanel::muteClicked);
  connect(fader_, &Fader::valueChanged, this, &MasterPanel::userLevel);
  connect(level_, &NumField::valueEdited, this, &MasterPanel::userLevel);
  connect(level_, &NumField::valueHeld, this, &MasterPanel::userLevel);
  applyLanguage();
}

void MasterPanel::userLevel(int level) {
  showLevel(level);
  emit levelEdited(level);
}

void MasterPanel::showLevel(int level) {
  fader_->setValue(level);
  level_->setValue(std::clamp(level, 0, kLevelMax));
  mute_->setChecked(level != 0);
}

void MasterPanel::showAntiFeedback(bool on) {
  antiFeedback_->setChecked(on);
}

void MasterPanel::showLevelControls(bool shown) {
  for (QWidget* w : std::initializer_list<QWidget*>{mute_, fader_, level_}) w->setVisible(shown);
}

void MasterPanel::lockLevel(bool locked) {
  fader_->setLocked(locked);
  fader_->setEnabled(!locked);
  level_->setLocked(locked);
  mute_->setEnabled(!locked);
}

void MasterPanel::lockAntiFeedback(bool locked) {
  antiFeedback_->setEnabled(!locked);
}

void MasterPanel::applyLanguage() {
  title_->setText(uiText(MainTexts::kMaster));
  antiFeedback_->setText(uiText(MainTexts::kAntiFeedback));
  mute_->setText(uiText(MainTexts::kMute));
  level_->edit()->refresh();
}

}  // namespace orvane::ui
