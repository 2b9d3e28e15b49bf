#pragma once

// The rules of a numeric entry field, apart from the widget: how a parameter
// code reads as text, how typed text becomes a code again, and how the spin
// arrows and the mouse wheel move a code. The display kind picks the rule;
// the pages configure each field with a kind, a range, a step and an offset.
//
// Every code a rule returns lies in the field's range, whatever was typed:
// the value goes straight into the parameter image and from there to the
// device.

#include <string>
#include <string_view>

#include "model/ParameterScale.h"

namespace orvane {

// The result of reading typed text.
struct NumParsed {
  int code = 0;             // the code to store; the current one when the text is not taken
  bool outOfRange = false;  // a negative delay or distance: the user is told, the minimum is taken
};

struct NumFormat {
  // The rules of a field on `scale`, without a unit after the number.
  static NumFormat of(const ParameterScale& scale) {
    return {scale.kind, scale.step, scale.offset, {}, scale.minimum, scale.maximum};
  }

  NumKind kind = NumKind::DelayMs;
  // Value in units = code × step − offset for the scaled kinds. A step that
  // is not positive (a field nobody gave a step) counts as 1, so no code and
  // no typed text divides by zero.
  double step = 0.0;
  double offset = 0.0;
  std::string suffix;  // unit after the number, where the kind shows one
  int minimum = 0;
  int maximum = 100;

  // The text the field shows for `code`.
  std::string text(int code) const;

  // Reads text the user typed into a field holding `current`.
  NumParsed parse(std::string_view typed, int current) const;

  // False for the ratio kinds: their value changes only by the arrows, the
  // wheel or the program.
  bool takesTypedText() const;

  // The code after `steps` presses of the up (positive) or down arrow: one
  // code per press, except the frequency grid for frequencies and the whole
  // and half ratios above 2.0 for ratios. Limited to the range.
  int arrowStep(int code, int steps) const;

  // The code after `notches` wheel notches: one code per notch; ratios move
  // as with the arrows so that the wheel never reaches a ratio the device
  // does not have.
  int wheelStep(int code, int notches) const;

  // Characters a field takes from the keyboard: digits, the point and the
  // minus sign. Everything else is swallowed.
  static bool acceptsCharacter(char32_t character);

  double effectiveStep() const;
  bool isRatio() const { return kind == NumKind::CompressorRatio || kind == NumKind::AgcRatio; }
};

}  // namespace orvane
