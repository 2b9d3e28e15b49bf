#include "ui/pages/CrossoverSection.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "dsp/CKTVEQ.h"
#include "model/Choices.h"
#include "model/CrossLimits.h"
#include "model/ParameterImage.h"
#include "model/Scales.h"
#include "ui/pages/ChannelEdit.h"
#include "ui/pages/NumField.h"
#include "ui/pages/PageControls.h"
#include "ui/pages/PageTexts.h"

namespace orvane::ui {

namespace {

QComboBox* makeList(QWidget* parent, const char* name) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  return list;
}

}  // namespace

CrossoverSection::CrossoverSection(ChannelEdit& edit, QWidget* parent) : QGroupBox(parent), edit_(edit) {
  captions_.add(this, PageTexts::kCrossover);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(3);
  highFrequency_ = PageControls::makeField(this, Scales::kFrequency);
  lowFrequency_ = PageControls::makeField(this, Scales::kFrequency);
  highSlope_ = makeList(this, "highPassSlope");
  lowSlope_ = makeList(this, "lowPassSlope");
  if (edit.side() == Side::Output) {
    highFamily_ = makeList(this, "highPassFamily");
    lowFamily_ = makeList(this, "lowPassFamily");
  }
  grid->addWidget(captions_.label(PageTexts::kFrequency, this), 0, 1);
  grid->addWidget(captions_.label(PageTexts::kSlope, this), 0, 2);
  if (highFamily_) grid->addWidget(captions_.label(PageTexts::kFamily, this), 0, 3);
  addRow(1, true);
  addRow(2, false);
  grid->setRowStretch(3, 1);
  refill();
}

void CrossoverSection::addRow(int row, bool highPass) {
  auto* grid = static_cast<QGridLayout*>(layout());
  grid->addWidget(captions_.label(highPass ? PageTexts::kHighPass : PageTexts::kLowPass, this), row, 0);
  grid->addWidget(frequency(highPass), row, 1);
  grid->addWidget(slope(highPass), row, 2);
  const CrossoverFields fields = crossoverFields(edit_.side());
  connect(frequency(highPass), &NumField::valueEdited, this,
          [this, highPass](int hz) { onFrequency(highPass, hz); });
  connect(frequency(highPass), &NumField::valueHeld, this,
          [this, highPass](int hz) { onFrequency(highPass, hz); });
  const Field slopeField = highPass ? fields.XSLope_Lo : fields.XSLope_Hi;
  connect(slope(highPass), &QComboBox::activated, this,
          [this, highPass, slopeField](int choice) { onChoice(highPass, slopeField, choice); });
  if (QComboBox* list = family(highPass)) {
    grid->addWidget(list, row, 3);
    const Field familyField = highPass ? fields.XMode_Lo : fields.XMode_Hi;
    connect(list, &QComboBox::activated, this,
            [this, highPass, familyField](int choice) { onChoice(highPass, familyField, choice); });
  }
}

int CrossoverSection::highPassIndex() const {
  return orvane::bandCount(edit_.side());
}

void CrossoverSection::showChannel() {
  const CrossoverPair pair = edit_.image().crossover(edit_.side(), edit_.channel());
  highFrequency_->showValue(pair.XFQCY_Lo);
  lowFrequency_->showValue(pair.XFQCY_Hi);
  PageControls::select(highSlope_, pair.XSLope_Lo);
  PageControls::select(lowSlope_, pair.XSLope_Hi);
  if (highFamily_) {
    PageControls::select(highFamily_, pair.XMode_Lo);
    PageControls::select(lowFamily_, pair.XMode_Hi);
  }
}

void CrossoverSection::cornerDragged(int index) {
  showChannel();
  const CrossoverFields fields = crossoverFields(edit_.side());
  for (int member : edit_.follow({fields.XFQCY_Lo, fields.XFQCY_Hi})) {
    edit_.filtersOf(member).highPass().Recompute(false);
    edit_.filtersOf(member).lowPass().Recompute(false);
  }
  emit graphRedraw(index);
}

// A high-pass above the low-pass stops at the low-pass, and the other way
// round; the field then shows the corner stored.
void CrossoverSection::onFrequency(bool highPass, int hz) {
  const CrossoverPair pair = edit_.image().crossover(edit_.side(), edit_.channel());
  const int limited = CrossLimits::crossoverCorner(pair, highPass, hz);
  if (limited != hz) frequency(highPass)->showValue(limited);
  const CrossoverFields fields = crossoverFields(edit_.side());
  edit_.write(highPass ? fields.XFQCY_Lo : fields.XFQCY_Hi, limited);
  recompute(highPass);
}

void CrossoverSection::onChoice(bool highPass, Field field, int choice) {
  edit_.write(field, choice);
  recompute(highPass);
}

// The filter whose record changed is redrawn on this channel and on the
// linked ones.
void CrossoverSection::recompute(bool highPass) {
  edit_.filters().element(highPass ? highPassIndex() : lowPassIndex()).Recompute(false);
  for (int member : edit_.linked())
    edit_.filtersOf(member).element(highPass ? highPassIndex() : lowPassIndex()).Recompute(false);
  emit graphRedraw(highPass ? highPassIndex() : lowPassIndex());
}

void CrossoverSection::refill() {
  for (bool highPass : {true, false}) {
    PageControls::fill(slope(highPass), Choices::kCrossoverSlope, slope(highPass)->currentIndex());
    if (QComboBox* list = family(highPass))
      PageControls::fill(list, Choices::kCrossoverFamily, list->currentIndex());
  }
}

void CrossoverSection::applyLanguage() {
  captions_.apply();
  refill();
}

void CrossoverSection::setLocked(bool locked) {
  for (bool highPass : {true, false}) {
    frequency(highPass)->setLocked(locked);
    slope(highPass)->setVisible(!locked);
    if (QComboBox* list = family(highPass)) list->setVisible(!locked);
  }
  if (!locked) refill();
}

}  // namespace orvane::ui
