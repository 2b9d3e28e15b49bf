#include "ui/pages/PageControls.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "ui/main/UiText.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"

namespace orvane::ui::PageControls {

NumField* makeField(QWidget* parent, const FieldSpec& spec, int editWidth) {
  auto* field = new NumField(parent);
  field->setDisplayKind(spec.kind);
  field->setStep(spec.step);
  field->setOffset(spec.offset);
  field->setRange(spec.minimum, spec.maximum);
  field->edit()->setFixedWidth(editWidth);
  field->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  return field;
}

void fill(QComboBox* combo, std::span<const BiText> items, int index) {
  const QSignalBlocker quiet(combo);
  combo->clear();
  for (const BiText& item : items) combo->addItem(uiText(item));
  select(combo, index);
}

void select(QComboBox* combo, int index) {
  const QSignalBlocker quiet(combo);
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

}  // namespace orvane::ui::PageControls
