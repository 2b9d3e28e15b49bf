#pragma once

// How the value of one parameter path reads and is typed: the same display
// kinds, ranges and snapping as the editor's fields, with the unit written
// after the number. Typed text is checked strictly first (a script that
// types "loud" for a level gets a message, not 0 dB). A figure outside the
// field's range is refused with the range in the message, never clamped;
// one inside it is snapped by the field rules as in the editor.

#include <string>
#include <string_view>
#include <variant>

#include "model/ParameterCatalog.h"

namespace orvane::control {

// The stored code for `text`, given the code held now; or the message
// naming what is wrong with it.
std::variant<int, std::string> readValue(const ParameterValue& value, std::string_view text, int current);

// The text of stored code `code`.
std::string valueText(const ParameterValue& value, int code);

// `text` in single quotes for a message, with control characters written
// as \n, \r, \t or \xNN: a message stays one line whatever was typed.
std::string quoted(std::string_view text);

// Equal apart from the case of ASCII letters.
bool sameWord(std::string_view a, std::string_view b);

// The value form as the help lists it: "-6.5dB", "on|off".
std::string valueExample(const ParameterValue& value);

}  // namespace orvane::control
