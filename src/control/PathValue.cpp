#include "control/PathValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "model/ValueScales.h"

namespace orvane::control {

namespace {

constexpr std::string_view kOff = "OFF";
constexpr int kRatioCodesPerUnit = 10;  // ratio r is code 10 r - 9
// Far beyond every field's range, yet exact in the field rules' "%.6f" text.
constexpr double kHugeFigure = 1e12;

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A decimal number at the start of `text` ("-6.5", ".5", "+3"), and what
// follows it.
struct Figure {
  double value = 0.0;
  std::string_view rest;
};

std::optional<Figure> leadingFigure(std::string_view text) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
  const std::size_t start = at;
  bool digits = false;
  bool point = false;
  for (; at < text.size(); ++at) {
    if (text[at] >= '0' && text[at] <= '9') {
      digits = true;
    } else if (text[at] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  Figure figure;
  const std::string_view number = text.substr(start, at - start);
  const auto read =
      std::from_chars(number.data(), number.data() + number.size(), figure.value, std::chars_format::fixed);
  // A figure of hundreds of digits is beyond a double: one with a digit
  // other than 0 before the point is huge and goes out of range like any
  // large figure; the others are a fraction too small to matter.
  if (read.ec == std::errc::result_out_of_range) {
    const bool huge = number.substr(0, number.find('.')).find_first_not_of('0') != std::string_view::npos;
    figure.value = huge ? kHugeFigure : 0.0;
  }
  if (negative) figure.value = -figure.value;
  figure.rest = text.substr(at);
  return figure;
}

bool hasOff(NumKind kind) {
  return kind == NumKind::WholeLevel || kind == NumKind::LevelOffAtTop || kind == NumKind::LevelOffAtMin ||
         kind == NumKind::LevelOffAtMax;
}

NumFormat fieldRules(const ValueForm& form, NumKind kind) {
  NumFormat rules;
  rules.kind = kind;
  rules.step = form.step;
  rules.offset = form.offset;
  rules.minimum = form.minimum;
  rules.maximum = form.maximum;
  return rules;
}

// The display kind a typed unit selects: a delay is also taken as the
// distance sound travels in it.
std::optional<NumKind> kindForUnit(const ValueForm& form, std::string_view unit) {
  if (unit.empty() || sameWord(unit, form.unit)) return form.kind;
  if (form.kind == NumKind::DelayMs) {
    if (sameWord(unit, "m")) return NumKind::DelayMetres;
    if (sameWord(unit, "ft")) return NumKind::DelayFeet;
  }
  return std::nullopt;
}

std::string refused(std::string_view value, const ValueForm& form) {
  return quoted(value) + " is not " + std::string(form.what);
}

std::variant<int, std::string> readNumber(const ValueForm& form, std::string_view value, int current) {
  const std::string_view text = trimmed(value);
  const int shownCurrent = current + form.shown;
  if (hasOff(form.kind) && sameWord(text, kOff))
    return fieldRules(form, form.kind).parse(kOff, shownCurrent).code - form.shown;
  const std::optional<Figure> figure = leadingFigure(text);
  if (!figure) return refused(value, form);
  double x = figure->value;
  std::string_view unit = trimmed(figure->rest);
  if (form.kind == NumKind::Frequency && !unit.empty() && (unit[0] == 'k' || unit[0] == 'K')) {
    x *= 1000.0;
    unit.remove_prefix(1);
  }
  const std::optional<NumKind> kind = kindForUnit(form, unit);
  if (!kind) return refused(value, form);
  if (form.strict && (x < form.minimum || x > form.maximum || x != std::floor(x)))
    return quoted(value) + " is outside " + std::to_string(form.minimum) + ".." +
           std::to_string(form.maximum);
  std::array<char, 64> typed{};
  const int length =
      std::snprintf(typed.data(), typed.size(), "%.6f", std::clamp(x, -kHugeFigure, kHugeFigure));
  const NumParsed parsed =
      fieldRules(form, *kind)
          .parse(std::string_view(typed.data(), static_cast<std::size_t>(length)), shownCurrent);
  if (parsed.outOfRange) return quoted(value) + " is out of range";
  return parsed.code - form.shown;
}

std::variant<int, std::string> readRatio(const ValueForm& form, std::string_view value) {
  const std::optional<Figure> first = leadingFigure(trimmed(value));
  if (!first) return refused(value, form);
  double ratio = first->value;
  const std::string_view rest = trimmed(first->rest);
  if (!rest.empty()) {
    const std::optional<Figure> second =
        rest[0] == ':' ? leadingFigure(trimmed(rest.substr(1))) : std::nullopt;
    if (!second || !trimmed(second->rest).empty()) return refused(value, form);
    // "4:1" and "1:4" both name the ratio 4; the other side must be 1.
    if (first->value == 1.0) {
      ratio = second->value;
    } else if (second->value != 1.0) {
      return refused(value, form);
    }
  }
  const double code =
      std::round(std::clamp(ratio, 1.0, 100.0) * kRatioCodesPerUnit) - (kRatioCodesPerUnit - 1);
  return std::clamp(ValueScales::SnapRatio(static_cast<int>(code)), form.minimum, form.maximum);
}

std::variant<int, std::string> readChoice(const ValueForm& form, std::string_view value) {
  const std::string_view text = trimmed(value);
  for (const Choice& choice : form.choices)
    if (sameWord(text, choice.text)) return choice.code;
  return refused(value, form);
}

}  // namespace

std::string quoted(std::string_view text) {
  std::string out = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte >= 0x20 && byte != 0x7F) {
          out += c;
          break;
        }
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        out += escape;
    }
  }
  return out + "'";
}

bool sameWord(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::variant<int, std::string> readValue(const ValueForm& form, std::string_view value, int current) {
  switch (form.form) {
    case Form::Number:
      return readNumber(form, value, current);
    case Form::Ratio:
      return readRatio(form, value);
    case Form::Choice:
      return readChoice(form, value);
    case Form::Name:
      break;
  }
  return refused(value, form);
}

std::string valueText(const ValueForm& form, int code) {
  switch (form.form) {
    case Form::Number: {
      std::string text = fieldRules(form, form.kind).text(code + form.shown);
      if (text != kOff && !text.ends_with(form.unit)) text += form.unit;
      return text;
    }
    case Form::Ratio:
      return fieldRules(form, form.kind).text(ValueScales::SnapRatio(code));
    case Form::Choice: {
      const auto found = std::ranges::find(form.choices, code, &Choice::code);
      return found != form.choices.end() ? std::string(found->text) : std::to_string(code);
    }
    case Form::Name:
      break;
  }
  return std::to_string(code);
}

std::string valueExample(const ValueForm& form) {
  switch (form.form) {
    case Form::Number:
      return valueText(form, form.minimum - form.shown) + ".." + valueText(form, form.maximum - form.shown);
    case Form::Ratio:
      return form.kind == NumKind::AgcRatio ? "1:1..1:20" : "1:1..20:1";
    case Form::Choice: {
      std::string list;
      for (const Choice& choice : form.choices) {
        if (std::ranges::find(form.choices, choice.code, &Choice::code)->text != choice.text) continue;
        list += (list.empty() ? "" : "|") + std::string(choice.text);
      }
      return list;
    }
    case Form::Name:
      break;
  }
  return std::string(form.what);
}

}  // namespace orvane::control
