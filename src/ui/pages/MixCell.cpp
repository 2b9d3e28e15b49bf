#include "ui/pages/MixCell.h"

#include <QGridLayout>

#include "model/Scales.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

MixCell::MixCell(QWidget* parent)
    : QFrame(parent), toggle_(new ToggleButton(this)), fader_(new Fader(this)), field_(new NumField(this)) {
  setFrameShape(QFrame::StyledPanel);
  toggle_->setOnColor(QColor(ConsoleLook::kOnOrange));
  toggle_->setFixedSize(18, 18);
  fader_->setOrientation(Qt::Horizontal);
  fader_->setRange(Scales::kMixLevel.minimum, Scales::kMixLevel.maximum);
  fader_->setMarkValue(Scales::kMixLevel.unityCode());
  fader_->setTickInterval(20);
  fader_->setFixedHeight(18);
  field_->setScale(Scales::kMixLevel, QStringLiteral("dB"));
  field_->edit()->setFixedWidth(62);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(2, 2, 2, 2);
  grid->setSpacing(2);
  grid->addWidget(toggle_, 0, 0);
  grid->addWidget(field_, 0, 1);
  grid->addWidget(fader_, 1, 0, 1, 2);

  connect(toggle_, &ToggleButton::clicked, this, &MixCell::toggled);
  connect(fader_, &Fader::valueChanged, this, &MixCell::userLevel);
  connect(field_, &NumField::valueEdited, this, &MixCell::userLevel);
  connect(field_, &NumField::valueHeld, this, &MixCell::userLevel);
}

void MixCell::showLevel(int level) {
  toggle_->setChecked(!locked_ && level != 0);
  fader_->setValue(level);
  field_->showValue(level);
}

int MixCell::level() const {
  return field_->value();
}

void MixCell::userLevel(int level) {
  showLevel(level);
  emit levelEdited(level);
}

// A locked crosspoint shows nothing of its level: the field says "Lock", the
// switch shows off, the fader is hidden. Unlocked, it shows the level again.
void MixCell::setLocked(bool locked) {
  locked_ = locked;
  toggle_->setEnabled(!locked);
  field_->setEnabled(!locked);
  field_->setLocked(locked);
  fader_->setVisible(!locked);
  showLevel(level());
}

}  // namespace orvane::ui
