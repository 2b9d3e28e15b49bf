#include "ui/pages/EqBandColumn.h"

#include <QComboBox>
#include <QGridLayout>

#include "dsp/CFilter.h"
#include "model/Choices.h"
#include "model/Scales.h"
#include "ui/pages/NumField.h"
#include "ui/pages/PageControls.h"
#include "ui/pages/PageTexts.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

constexpr int kLowShelf = 1;
constexpr int kHighShelf = 2;

void connectField(NumField* field, EqBandColumn* column, void (EqBandColumn::*signal)(int)) {
  QObject::connect(field, &NumField::valueEdited, column, signal);
  QObject::connect(field, &NumField::valueHeld, column, signal);
}

}  // namespace

EqBandColumn::EqBandColumn(int band, QWidget* parent, QGridLayout* grid, int column)
    : QObject(parent),
      toggle_(new ToggleButton(QString::number(band + 1), parent)),
      type_(new QComboBox(parent)),
      frequency_(PageControls::makeField(parent, Scales::kFrequency)),
      octaves_(PageControls::makeField(parent, Scales::kOctaves)),
      q_(PageControls::makeField(parent, Scales::kQ)),
      slope_(new QComboBox(parent)),
      gain_(PageControls::makeField(parent, Scales::kEqGain)),
      fader_(new Fader(parent)) {
  toggle_->setOnColor(QColor(ConsoleLook::kOnGreen));
  toggle_->setFixedHeight(20);
  fader_->setOrientation(Qt::Horizontal);
  fader_->setRange(Scales::kEqGain.minimum, Scales::kEqGain.maximum);
  fader_->setMarkValue(CFilter::kFlatGainCode);
  fader_->setTickInterval(100);
  fader_->setPageStep(10);
  fader_->setFixedHeight(18);
  fader_->setMinimumWidth(64);
  refill();

  const int first = kFirstRow;
  grid->addWidget(toggle_, first, column);
  grid->addWidget(type_, first + 1, column);
  grid->addWidget(frequency_, first + 2, column);
  grid->addWidget(octaves_, first + 3, column);
  grid->addWidget(q_, first + 4, column);
  grid->addWidget(slope_, first + 4, column);
  grid->addWidget(gain_, first + 5, column);
  grid->addWidget(fader_, first + 6, column);

  connect(toggle_, &ToggleButton::clicked, this, &EqBandColumn::toggleClicked);
  connect(type_, &QComboBox::activated, this, &EqBandColumn::typeChosen);
  connect(slope_, &QComboBox::activated, this, &EqBandColumn::slopeChosen);
  connectField(frequency_, this, &EqBandColumn::frequencyEdited);
  connectField(octaves_, this, &EqBandColumn::bandwidthEdited);
  connectField(q_, this, &EqBandColumn::bandwidthEdited);
  connectField(gain_, this, &EqBandColumn::gainEdited);
  connect(fader_, &Fader::valueChanged, this, &EqBandColumn::gainEdited);
}

void EqBandColumn::refill() {
  if (locked_) return;
  PageControls::fill(type_, Choices::kBandType, shown_.type);
  PageControls::fill(slope_, Choices::kShelfSlope, shown_.slope);
}

void EqBandColumn::show(const BandView& band) {
  shown_ = band;
  arrange(band.type, band.frequency);
  if (!locked_) {
    PageControls::select(type_, band.type);
    PageControls::select(slope_, band.slope);
  }
  octaves_->showValue(band.bandwidth);
  q_->showValue(band.bandwidth);
  gain_->showValue(band.gain);
  fader_->setValue(band.gain);
  toggle_->setChecked(!band.flat);
}

// A peaking band shows its bandwidth twice; a shelf shows its slope and
// keeps its frequency on its side of 2000 Hz.
void EqBandColumn::arrange(int type, int frequency) {
  const bool shelf = type == kLowShelf || type == kHighShelf;
  octaves_->setVisible(!shelf);
  q_->setVisible(!shelf);
  slope_->setVisible(shelf);
  const int low = type == kHighShelf ? CFilter::kShelfBoundaryHz : Scales::kFrequency.minimum;
  const int high = type == kLowShelf ? CFilter::kShelfBoundaryHz : Scales::kFrequency.maximum;
  if (frequency_->minimum() != low || frequency_->maximum() != high) frequency_->setRange(low, high);
  frequency_->showValue(frequency);
}

void EqBandColumn::setLocked(bool locked) {
  locked_ = locked;
  toggle_->setVisible(!locked);
  fader_->setVisible(!locked);
  PageControls::lock(type_, locked, Choices::kBandType, shown_.type);
  PageControls::lock(slope_, locked, Choices::kShelfSlope, shown_.slope);
  for (NumField* field : {frequency_, octaves_, q_, gain_}) field->setLocked(locked);
}

}  // namespace orvane::ui
