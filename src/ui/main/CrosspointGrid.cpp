#include "ui/main/CrosspointGrid.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "model/Crosspoints.h"
#include "ui/common/UiText.h"
#include "ui/main/MainTexts.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

std::size_t at(int channel) {
  return static_cast<std::size_t>(channel);
}

}  // namespace

CrosspointGrid::CrosspointGrid(ParameterImage& image, QWidget* parent) : QFrame(parent), image_(image) {
  setObjectName("crosspoints");
  setFrameShape(QFrame::StyledPanel);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 6);
  grid->setSpacing(3);
  title_ = new QLabel(this);
  grid->addWidget(title_, 0, 0, 1, kChannels + 1);
  for (int j = 0; j < kChannels; ++j)
    grid->addWidget(new QLabel(QString::number(j + 1), this), 1, j + 1, Qt::AlignHCenter);
  for (int i = 0; i < kChannels; ++i) {
    grid->addWidget(new QLabel(QString(QChar('A' + i)), this), i + 2, 0, Qt::AlignRight);
    for (int j = 0; j < kChannels; ++j) {
      auto* button = new ToggleButton(this);
      button->setObjectName(QStringLiteral("crosspoint%1%2").arg(i).arg(j));
      button->setOnColor(QColor(ConsoleLook::kOnOrange));
      button->setFixedSize(19, 19);
      connect(button, &ToggleButton::clicked, this,
              [this, i, j] { this->button(i, j)->setChecked(Crosspoints::toggle(image_, i, j)); });
      buttons_[at(i)][at(j)] = button;
      grid->addWidget(button, i + 2, j + 1);
    }
  }
  mixer_ = new QPushButton(this);
  mixer_->setObjectName("mixerPage");
  connect(mixer_, &QPushButton::clicked, this, &CrosspointGrid::mixerPageRequested);
  grid->addWidget(mixer_, kChannels + 2, 0, 1, kChannels + 1);
  grid->setRowStretch(kChannels + 3, 1);
  applyLanguage();
}

void CrosspointGrid::refreshFromImage() {
  for (int i = 0; i < kChannels; ++i)
    for (int j = 0; j < kChannels; ++j) button(i, j)->setChecked(Crosspoints::isOn(image_, i, j));
}

void CrosspointGrid::applyLocks(const LockState& locks) {
  const bool locked = locks.isLocked(LockFlag::Matrix);
  for (auto& row : buttons_)
    for (ToggleButton* button : row)
      if (button->isEnabled() == locked) button->setEnabled(!locked);
}

void CrosspointGrid::applyLanguage() {
  title_->setText(uiText(MainTexts::kMatrix));
  mixer_->setText(uiText(MainTexts::kMixerPage));
}

ToggleButton* CrosspointGrid::button(int input, int output) const {
  return buttons_.at(at(input)).at(at(output));
}

}  // namespace orvane::ui
