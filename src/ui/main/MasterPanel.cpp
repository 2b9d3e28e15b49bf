#include "ui/main/MasterPanel.h"

#include <QGridLayout>
#include <QLabel>

#include "model/Scales.h"
#include "ui/common/UiText.h"
#include "ui/main/MainTexts.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

constexpr int kFaderLength = 130;  // a travel fine enough for tenths of a decibel

}  // namespace

MasterPanel::MasterPanel(MasterSection& master, ParameterImage& image, QWidget* parent)
    : QFrame(parent), master_(master), image_(image) {
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
  fader_->setRange(Scales::kMasterLevel.minimum, Scales::kMasterLevel.maximum);
  fader_->setMarkValue(Scales::kMasterLevel.unityCode());
  fader_->setTickInterval(120);
  fader_->setPageStep(20);
  fader_->setMinimumHeight(kFaderLength);
  level_ = new NumField(this);
  level_->setObjectName("masterLevel");
  level_->setScale(Scales::kMasterLevel, QStringLiteral("dB"));

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->addWidget(title_, 0, 0, 1, 2);
  grid->addWidget(fader_, 1, 0, 4, 1);
  grid->addWidget(antiFeedback_, 1, 1);
  grid->addWidget(mute_, 2, 1);
  grid->addWidget(level_, 3, 1);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(1, 1);

  connect(antiFeedback_, &ToggleButton::clicked, this, [this](bool on) { master_.setAntiFeedback(on); });
  connect(mute_, &ToggleButton::clicked, this, &MasterPanel::userMute);
  connect(fader_, &Fader::valueChanged, this, &MasterPanel::userLevel);
  connect(level_, &NumField::valueEdited, this, &MasterPanel::userLevel);
  connect(level_, &NumField::valueHeld, this, &MasterPanel::userLevel);
  applyLanguage();
}

std::optional<Side> MasterPanel::shownSide() const {
  switch (image_.read([](const ImageData& d) { return d.editor.selectedPage; })) {
    case Page::Input:
      return Side::Input;
    case Page::Output:
      return Side::Output;
    default:
      return std::nullopt;
  }
}

void MasterPanel::userLevel(int level) {
  showLevel(level);
  if (const std::optional<Side> side = shownSide()) master_.setLevel(*side, level);
}

void MasterPanel::userMute() {
  const std::optional<Side> side = shownSide();
  showLevel(side ? master_.toggleMute(*side) : 0);
}

void MasterPanel::showLevel(int level) {
  fader_->setValue(level);
  level_->showValue(level);
  mute_->setChecked(level != 0);
}

// The level controls follow the side whose page is shown; the matrix page
// hides them.
void MasterPanel::refreshFromImage() {
  antiFeedback_->setChecked(master_.antiFeedback());
  const std::optional<Side> side = shownSide();
  for (QWidget* w : std::initializer_list<QWidget*>{mute_, fader_, level_}) w->setVisible(side.has_value());
  if (side) showLevel(master_.level(*side));
}

void MasterPanel::applyLocks(const LockState& locks) {
  antiFeedback_->setEnabled(!locks.isLocked(LockFlag::MainFeedback));
  const std::optional<Side> side = shownSide();
  if (!side) return;
  const bool locked =
      locks.isLocked(*side == Side::Input ? LockFlag::InputMainVolume : LockFlag::OutputMainVolume);
  fader_->setLocked(locked);
  fader_->setEnabled(!locked);
  level_->setLocked(locked);
  mute_->setEnabled(!locked);
}

void MasterPanel::applyLanguage() {
  title_->setText(uiText(MainTexts::kMaster));
  antiFeedback_->setText(uiText(MainTexts::kAntiFeedback));
  mute_->setText(uiText(MainTexts::kMute));
  level_->edit()->refresh();
}

}  // namespace orvane::ui
