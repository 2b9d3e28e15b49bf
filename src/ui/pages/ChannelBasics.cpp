#include "ui/pages/ChannelBasics.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include "model/Scales.h"
#include "ui/pages/ChannelEdit.h"
#include "ui/pages/NumField.h"
#include "ui/pages/PageControls.h"
#include "ui/pages/PageTexts.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

constexpr std::array<const ParameterScale*, 3> kDelayForms{&Scales::kDelay, &Scales::kDelayMetres,
                                                           &Scales::kDelayFeet};
constexpr std::array<const BiText*, 3> kDelayCaptions{&PageTexts::kDelayMs, &PageTexts::kDelayMetres,
                                                      &PageTexts::kDelayFeet};
constexpr int kNormal = 1;  // `Polarity`: 1 normal, 0 inverted
constexpr int kInverted = 0;

QGridLayout* groupGrid(QGroupBox* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(3);
  grid->setAlignment(Qt::AlignTop);
  return grid;
}

}  // namespace

ChannelBasics::ChannelBasics(ChannelEdit& edit, QWidget* parent) : QWidget(parent), edit_(edit) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(buildDelay());
  row->addWidget(buildChannel());
}

QGroupBox* ChannelBasics::buildDelay() {
  auto* group = new QGroupBox(this);
  captions_.add(group, PageTexts::kDelay);
  QGridLayout* grid = groupGrid(group);
  for (std::size_t form = 0; form < delay_.size(); ++form) {
    delay_[form] = PageControls::makeField(group, *kDelayForms[form]);
    delay_[form]->setObjectName(QStringLiteral("delay%1").arg(form));
    grid->addWidget(captions_.label(*kDelayCaptions[form], group), static_cast<int>(form), 0);
    grid->addWidget(delay_[form], static_cast<int>(form), 1);
    connect(delay_[form], &NumField::valueEdited, this, &ChannelBasics::onDelay);
    connect(delay_[form], &NumField::valueHeld, this, &ChannelBasics::onDelay);
  }
  return group;
}

QGroupBox* ChannelBasics::buildChannel() {
  auto* group = new QGroupBox(this);
  captions_.add(group, PageTexts::kChannel);
  channelGrid_ = groupGrid(group);
  gain_ = PageControls::makeField(group, Scales::kChannelGain);
  gain_->setObjectName("channelGain");
  fader_ = new Fader(group);
  fader_->setObjectName("channelGainFader");
  fader_->setOrientation(Qt::Horizontal);
  fader_->setRange(Scales::kChannelGain.minimum, Scales::kChannelGain.maximum);
  fader_->setMarkValue(Scales::kChannelGain.unityCode());
  fader_->setTickInterval(60);
  fader_->setFixedHeight(18);
  polarity_ = new ToggleButton(group);
  polarity_->setObjectName("polarity");
  polarity_->setOnColor(QColor(ConsoleLook::kOnAmber));
  captions_.add(polarity_, PageTexts::kInvert);
  twin_ = new ToggleButton(group);
  twin_->setOnColor(QColor(ConsoleLook::kOnAmber));
  twin_->setEnabled(false);
  twin_->setFixedWidth(44);
  auto* polarityRow = new QHBoxLayout;
  polarityRow->addWidget(polarity_, 1);
  polarityRow->addWidget(twin_);
  channelGrid_->addWidget(captions_.label(PageTexts::kGain, group), 0, 0);
  channelGrid_->addWidget(gain_, 0, 1);
  channelGrid_->addWidget(fader_, 1, 0, 1, 2);
  channelGrid_->addWidget(captions_.label(PageTexts::kPolarity, group), 2, 0);
  channelGrid_->addLayout(polarityRow, 2, 1);
  connect(gain_, &NumField::valueEdited, this, &ChannelBasics::onGain);
  connect(gain_, &NumField::valueHeld, this, &ChannelBasics::onGain);
  connect(fader_, &Fader::valueChanged, this, &ChannelBasics::onGain);
  connect(polarity_, &ToggleButton::clicked, this, &ChannelBasics::onPolarity);
  return group;
}

void ChannelBasics::addRow(const BiText& caption, QWidget* control) {
  const int row = channelGrid_->rowCount();
  channelGrid_->addWidget(captions_.label(caption, control->parentWidget()), row, 0);
  channelGrid_->addWidget(control, row, 1);
}

NumField* ChannelBasics::delay(int form) const {
  return delay_.at(static_cast<std::size_t>(form));
}

void ChannelBasics::showChannel() {
  for (NumField* field : delay_) field->showValue(edit_.value(CommonField::Delay));
  gain_->showValue(edit_.value(CommonField::Gain));
  fader_->setValue(edit_.value(CommonField::Gain));
  showPolarity(edit_.value(CommonField::Polarity) == kInverted);
}

// Time and both distances show the code just stored.
void ChannelBasics::onDelay(int code) {
  for (NumField* field : delay_) field->showValue(code);
  edit_.write(CommonField::Delay, code);
}

void ChannelBasics::onGain(int code) {
  gain_->showValue(code);
  fader_->setValue(code);
  const std::vector<int> linked = edit_.write(CommonField::Gain, code);
  emit gainChanged(edit_.channel());
  for (int member : linked) emit gainChanged(member);
}

void ChannelBasics::onPolarity() {
  const bool inverted = edit_.value(CommonField::Polarity) != kInverted;
  edit_.write(CommonField::Polarity, inverted ? kInverted : kNormal);
  showPolarity(inverted);
}

void ChannelBasics::showPolarity(bool inverted) {
  polarity_->setChecked(inverted);
  twin_->setChecked(inverted);
  twin_->setText(inverted ? QStringLiteral("180°") : QStringLiteral("0°"));
}

void ChannelBasics::lockDelay(bool locked) {
  for (NumField* field : delay_) field->setLocked(locked);
}

void ChannelBasics::lockGain(bool locked) {
  gain_->setLocked(locked);
  fader_->setVisible(!locked);
}

void ChannelBasics::lockPolarity(bool locked) {
  polarity_->setEnabled(!locked);
  twin_->setVisible(!locked);
}

}  // namespace orvane::ui
