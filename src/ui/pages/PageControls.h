#pragma once

// Building blocks the channel pages share: numeric fields configured from a
// short description, and drop lists filled from bilingual tables.

#include <span>

#include "model/Language.h"
#include "dsp/NumFormat.h"

class QComboBox;
class QWidget;

namespace orvane::ui {

class NumField;

// How a field shows its code and which codes it takes.
struct FieldFormat {
  NumKind kind;
  double step;
  double offset;
  int minimum;
  int maximum;
};

namespace PageControls {

inline constexpr int kEditWidth = 54;  // wide enough for "20000", "-12.5", "1:2.5"

NumField* makeField(QWidget* parent, const FieldFormat& format, int editWidth = kEditWidth);

// Refills `combo` with `items` in the current language and selects `index`
// (none when outside the list), without telling the page.
void fill(QComboBox* combo, std::span<const BiText> items, int index);
// Selects `index`, or nothing when outside the list, without telling the page.
void select(QComboBox* combo, int index);
// A locked list holds the one entry "Lock" and takes no input; unlocked, it
// is refilled with `items` and shows `index` again.
void lock(QComboBox* combo, bool locked, std::span<const BiText> items, int index);

}  // namespace PageControls

}  // namespace orvane::ui
