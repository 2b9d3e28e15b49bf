#include "ui/pages/PageControls.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <array>

#include "ui/common/UiText.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/pages/NumTexts.h"

namespace orvane::ui::PageControls {

NumField* makeField(QWidget* parent, const FieldFormat& format, int editWidth) {
  auto* field = new NumField(parent);
  field->setDisplayKind(format.kind);
  field->setStep(format.step);
  field->setOffset(format.offset);
  field->setRange(format.minimum, format.maximum);
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

void lock(QComboBox* combo, bool locked, std::span<const BiText> items, int index) {
  combo->setEnabled(!locked);
  if (locked) {
    const std::array<BiText, 1> word{NumTexts::kLock};
    fill(combo, word, 0);
  } else {
    fill(combo, items, index);
  }
}

}  // namespace orvane::ui::PageControls
