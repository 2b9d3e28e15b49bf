#include "ui/pages/EqSection.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "dsp/CKTVEQ.h"
#include "dsp/RewFilterImport.h"
#include "model/ParameterImage.h"
#include "ui/pages/ChannelEdit.h"
#include "ui/pages/EqBandColumn.h"
#include "ui/pages/PageTexts.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

EqSection::EqSection(ChannelEdit& edit, QWidget* parent) : QWidget(parent), edit_(edit) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(2, 6, 2, 4);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(3);
  bypass_ = new ToggleButton(this);
  bypass_->setObjectName("eqBypass");
  bypass_->setOnColor(QColor(ConsoleLook::kOnAmber));
  bypass_->setFixedHeight(20);
  captions_.add(bypass_, PageTexts::kBypass);
  grid->addWidget(bypass_, EqBandColumn::kFirstRow, 0);
  const std::array<const BiText*, 5> rows{&PageTexts::kBandType, &PageTexts::kFrequency, &PageTexts::kOctaves,
                                          &PageTexts::kQ, &PageTexts::kBandGain};
  for (std::size_t r = 0; r < rows.size(); ++r)
    grid->addWidget(captions_.label(*rows[r], this), EqBandColumn::kFirstRow + 1 + static_cast<int>(r), 0);

  for (int band = 0; band < orvane::bandCount(edit.side()); ++band) {
    auto* column = new EqBandColumn(band, this, grid, band + 1);
    columns_.push_back(column);
    connect(column, &EqBandColumn::frequencyEdited, this, [this, band](int hz) { onFrequency(band, hz); });
    connect(column, &EqBandColumn::bandwidthEdited, this,
            [this, band](int code) { onBandwidth(band, code); });
    connect(column, &EqBandColumn::gainEdited, this, [this, band](int code) { onGain(band, code); });
    connect(column, &EqBandColumn::toggleClicked, this, [this, band] { onToggle(band); });
    connect(column, &EqBandColumn::typeChosen, this, [this, band](int type) { onType(band, type); });
    connect(column, &EqBandColumn::slopeChosen, this, [this, band](int slope) { onSlope(band, slope); });
  }
  connect(bypass_, &ToggleButton::clicked, this, &EqSection::onBypass);
  import_ = new QPushButton(this);
  import_->setObjectName("eqImportRew");
  captions_.add(import_, PageTexts::kImportRew);
  connect(import_, &QPushButton::clicked, this, &EqSection::importRequested);
  const int below = EqBandColumn::kFirstRow + EqBandColumn::kRows;
  grid->addWidget(import_, below, 0, 1, 3, Qt::AlignLeft | Qt::AlignTop);
  grid->setColumnStretch(bandCount() + 1, 1);
  grid->setRowStretch(below + 1, 1);
}

EqBandColumn* EqSection::column(int band) const {
  return columns_.at(static_cast<std::size_t>(band));
}

void EqSection::showAll() {
  for (int band = 0; band < bandCount(); ++band) showBand(band);
}

void EqSection::showBand(int band) {
  const EqBand record = edit_.image().band(edit_.side(), edit_.channel(), band);
  const CFilter& element = edit_.filters().element(band);
  column(band)->show({record.Type, record.FQCY, record.Q, record.Slope, record.Gain, element.IsFlat()});
  bypass_->setChecked(edit_.filters().AllBandsFlat());
}

void EqSection::bandDragged(int band) {
  showBand(band);
  const CFilter& element = edit_.filters().element(band);
  for (int member : edit_.linked()) edit_.filtersOf(member).element(band).CopyFrom(element);
  emit graphRedraw(band);
}

// Applies `change` to band `band` of the edited channel and of every linked
// channel, then shows the band and redraws the curve.
template <class Change>
void EqSection::changeBand(int band, int selected, Change change) {
  change(edit_.filters().element(band));
  for (int member : edit_.linked()) change(edit_.filtersOf(member).element(band));
  showBand(band);
  emit graphRedraw(selected);
}

// The gain a switched-off band keeps is not reloaded from its record (which
// holds 0 dB while the band is off), so the band can still be switched on.
void EqSection::onFrequency(int band, int hz) {
  changeBand(band, band, [hz](CFilter& element) {
    element.SetFrequency(hz);
    element.Recompute(false);
  });
}

void EqSection::onBandwidth(int band, int code) {
  changeBand(band, band, [code](CFilter& element) {
    element.SetBandwidthCode(code);
    element.Recompute(false);
  });
}

void EqSection::onGain(int band, int code) {
  changeBand(band, band, [code](CFilter& element) {
    element.SetGainCode(code);
    element.Recompute(false);
  });
}

// The switch turns a working band off and a flat one on, on every linked
// channel alike.
void EqSection::onToggle(int band) {
  const bool off = !edit_.filters().element(band).IsFlat();
  changeBand(band, band, [off](CFilter& element) { element.SetBandOff(off); });
}

void EqSection::onType(int band, int type) {
  if (type == edit_.image().band(edit_.side(), edit_.channel(), band).Type) return;
  changeBand(band, -1, [type](CFilter& element) {
    element.SetKind(static_cast<FilterKind>(type));
    element.Recompute(false);
  });
}

void EqSection::onSlope(int band, int slope) {
  edit_.write(bandFields(edit_.side(), band).Slope, slope);
  changeBand(band, -1, [](CFilter& element) { element.Recompute(false); });
}

void EqSection::onBypass() {
  const bool on = !edit_.filters().AllBandsFlat();
  edit_.filters().SetAllBypass(on);
  for (int member : edit_.linked()) edit_.filtersOf(member).SetAllBypass(on);
  showAll();
  emit graphRedraw(-1);
}

// The file's bands replace the channel's whole equaliser, so every band is
// copied to the linked channels and every filter model is reloaded.
std::string EqSection::importFilters(std::string_view text) {
  const RewFilterImport::Parsed parsed = RewFilterImport::parse(text);
  std::string refused = RewFilterImport::apply(edit_.image(), edit_.side(), edit_.channel(), parsed);
  if (!refused.empty()) return refused;
  std::vector<Field> fields;
  for (int band = 0; band < bandCount(); ++band) {
    const BandFields f = bandFields(edit_.side(), band);
    fields.insert(fields.end(), {f.FQCY, f.Gain, f.Q, f.Slope, f.Type});
  }
  for (int member : edit_.follow(fields)) edit_.filtersOf(member).Rebind();
  edit_.filters().Rebind();
  showAll();
  emit graphRedraw(-1);
  return {};
}

void EqSection::applyLanguage() {
  captions_.apply();
  for (EqBandColumn* column : columns_) column->refill();
}

void EqSection::setLocked(bool locked) {
  bypass_->setVisible(!locked);
  import_->setEnabled(!locked);
  for (EqBandColumn* column : columns_) column->setLocked(locked);
}

}  // namespace orvane::ui
