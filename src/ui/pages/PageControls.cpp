#include "ui/pages/PageControls.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <array>

#include "ui/common/UiText.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/pages/NumTexts.h"

namespace orvane::ui::PageControls {

namespace {

std::vector<BiText> shownTexts(const ChoiceList& choices) {
  std::vector<BiText> texts;
  for (const Choice& choice : choices.entries()) texts.push_back(choice.shown);
  return texts;
}

}  // namespace

NumField* makeField(QWidget* parent, const ParameterScale& scale, int editWidth) {
  auto* field = new NumField(parent);
  field->setScale(scale);
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

void fill(QComboBox* combo, const ChoiceList& choices, int index) {
  fill(combo, shownTexts(choices), index);
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

void lock(QComboBox* combo, bool locked, const ChoiceList& choices, int index) {
  lock(combo, locked, shownTexts(choices), index);
}

}  // namespace orvane::ui::PageControls
