#pragma once

// How the value of one parameter path reads and is typed: the same display
// kinds, ranges and snapping as the editor's fields, with the unit written
// after the number. Typed text is checked strictly first (a script that
// types "loud" for a level gets a message, not 0 dB); a figure that passes
// is converted by the field rules, so it is clamped and snapped as in the
// editor.

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "dsp/NumFormat.h"

namespace orvane::control {

enum class Form : std::uint8_t {
  Number,  // a figure converted by the field rules of `kind`
  Ratio,   // "4:1", "1:4" or "4": snapped to a ratio the device has
  Choice,  // one of `choices`
  Name,    // free text, stored by the path itself
};

// An entry of a list; several entries may share a code (aliases), the first
// one of a code is the text shown.
struct Choice {
  std::string_view text;
  int code;
};

struct ValueForm {
  Form form = Form::Number;
  NumKind kind = NumKind::Integer;
  double step = 1.0;
  double offset = 0.0;
  int minimum = 0;  // range of the shown value (stored code + shown)
  int maximum = 0;
  int shown = 0;          // shown value = stored code + shown
  bool strict = false;    // a figure outside the range is refused, not clamped
  std::string_view unit;  // after the number; also taken when typed
  std::string_view what;  // "a level in dB": what a typed value must be
  std::span<const Choice> choices;
};

// The stored code for `value`, given the code held now; or the message
// naming what is wrong with the value.
std::variant<int, std::string> readValue(const ValueForm& form, std::string_view value, int current);

// The text of stored code `code`.
std::string valueText(const ValueForm& form, int code);

// `text` in single quotes for a message, with control characters written
// as \n, \r, \t or \xNN: a message stays one line whatever was typed.
std::string quoted(std::string_view text);

// Equal apart from the case of ASCII letters.
bool sameWord(std::string_view a, std::string_view b);

// The value form as the help lists it: "-6.5dB", "on|off".
std::string valueExample(const ValueForm& form);

}  // namespace orvane::control
