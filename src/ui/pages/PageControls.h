#pragma once

// Building blocks the channel pages share: numeric fields configured from a
// parameter's scale, and drop lists filled from bilingual tables or a
// parameter's choices.

#include <span>

#include "model/ChoiceList.h"
#include "model/ParameterScale.h"

class QComboBox;
class QWidget;

namespace orvane::ui {

class NumField;

namespace PageControls {

inline constexpr int kEditWidth = 54;  // wide enough for "20000", "-12.5", "1:2.5"

// A field on `scale`.
NumField* makeField(QWidget* parent, const ParameterScale& scale, int editWidth = kEditWidth);

// Refills `combo` with `items` in the current language and selects `index`
// (none when outside the list), without telling the page.
void fill(QComboBox* combo, std::span<const BiText> items, int index);
// The same with the drop list entries of `choices`; `index` is a list position.
void fill(QComboBox* combo, const ChoiceList& choices, int index);
// Selects `index`, or nothing when outside the list, without telling the page.
void select(QComboBox* combo, int index);
// A locked list holds the one entry "Lock" and takes no input; unlocked, it
// is refilled with `items` and shows `index` again.
void lock(QComboBox* combo, bool locked, std::span<const BiText> items, int index);
void lock(QComboBox* combo, bool locked, const ChoiceList& choices, int index);

}  // namespace PageControls

}  // namespace orvane::ui
