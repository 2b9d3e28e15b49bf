#include "control/PathValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "dsp/NumFormat.h"
#include "model/ValueScales.h"

namespace orvane::control {

namespace {

constexpr std::string_view kOff = "OFF";
constexpr int kRatioCodesPerUnit = 10;  // ratio r is code 10 r - 9
// Far beyond every field's range.
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

NumFormat fieldRules(const ParameterValue& form, NumKind kind) {
  NumFormat rules = NumFormat::of(*form.scale);
  rules.kind = kind;
  return rules;
}

// The display kind a typed unit selects: a delay is also taken as the
// distance sound travels in it.
std::optional<NumKind> kindForUnit(const ParameterValue& form, std::string_view unit) {
  if (unit.empty() || sameWord(unit, form.scale->unit)) return form.scale->kind;
  if (form.scale->kind == NumKind::DelayMs) {
    if (sameWord(unit, "m")) return NumKind::DelayMetres;
    if (sameWord(unit, "ft")) return NumKind::DelayFeet;
  }
  return std::nullopt;
}

std::string refused(std::string_view value, const ParameterValue& form) {
  return quoted(value) + " is not " + std::string(form.what);
}

// The figures a field shows at the ends of its range, as the typed unit
// reads them; an end that shows "OFF" gives way to the code next to it, since
// "OFF" is typed as a word. A figure outside them is refused, not clamped: a
// script that sets 40 dB must hear that the field ends at 12 dB.
struct ShownRange {
  double low = 0.0;
  double high = 0.0;
  std::string text;  // "-59.5dB .. 0.0dB or OFF"
};

ShownRange shownRange(const ParameterValue& form, const NumFormat& rules) {
  const auto figure = [&](int code) {
    const std::string text = rules.text(code);
    return text == kOff ? std::nullopt : leadingFigure(text);
  };
  int first = rules.minimum;
  int last = rules.maximum;
  if (!figure(first) && first < last) ++first;
  if (!figure(last) && last > first) --last;
  const double a = figure(first).value_or(Figure{}).value;
  const double b = figure(last).value_or(Figure{}).value;
  std::string unit(form.scale->unit);
  if (rules.kind == NumKind::DelayMetres) unit = "m";
  if (rules.kind == NumKind::DelayFeet) unit = "ft";
  const auto shown = [&](int code) {
    std::string text = rules.text(code);
    if (!text.ends_with(unit)) text += unit;
    return text;
  };
  const std::string orOff = form.scale->offCode() ? " or OFF" : "";
  // The Q figure falls as its code rises.
  if (a > b) return {b, a, shown(last) + " .. " + shown(first) + orOff};
  return {a, b, shown(first) + " .. " + shown(last) + orOff};
}

std::variant<int, std::string> readNumber(const ParameterValue& form, std::string_view value, int current) {
  const std::string_view text = trimmed(value);
  const int shownCurrent = current + form.scale->shown;
  if (hasOff(form.scale->kind) && sameWord(text, kOff))
    return fieldRules(form, form.scale->kind).parse(kOff, shownCurrent).code - form.scale->shown;
  const std::optional<Figure> figure = leadingFigure(text);
  if (!figure) return refused(value, form);
  double x = figure->value;
  std::string_view unit = trimmed(figure->rest);
  if (form.scale->kind == NumKind::Frequency && !unit.empty() && (unit[0] == 'k' || unit[0] == 'K')) {
    x *= 1000.0;
    unit.remove_prefix(1);
  }
  const std::optional<NumKind> kind = kindForUnit(form, unit);
  if (!kind) return refused(value, form);
  if (form.strict && (x < form.scale->minimum || x > form.scale->maximum || x != std::floor(x)))
    return quoted(value) + " is outside " + std::to_string(form.scale->minimum) + ".." +
           std::to_string(form.scale->maximum);
  const NumFormat rules = fieldRules(form, *kind);
  if (const ShownRange range = shownRange(form, rules); x < range.low || x > range.high)
    return quoted(value) + " is outside " + range.text;
  std::array<char, 64> typed{};
  const int length = std::snprintf(typed.data(), typed.size(), "%.6f", x);
  return rules.parse(std::string_view(typed.data(), static_cast<std::size_t>(length)), shownCurrent).code -
         form.scale->shown;
}

std::variant<int, std::string> readRatio(const ParameterValue& form, std::string_view value) {
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
  const auto ratioOf = [](int code) {
    return static_cast<double>(code + kRatioCodesPerUnit - 1) / kRatioCodesPerUnit;
  };
  if (ratio < ratioOf(form.scale->minimum) || ratio > ratioOf(form.scale->maximum))
    return quoted(value) + " is outside " + valueText(form, form.scale->minimum) + " .. " +
           valueText(form, form.scale->maximum);
  const double code = std::round(ratio * kRatioCodesPerUnit) - (kRatioCodesPerUnit - 1);
  return std::clamp(ValueScales::SnapRatio(static_cast<int>(code)), form.scale->minimum, form.scale->maximum);
}

std::variant<int, std::string> readChoice(const ParameterValue& form, std::string_view value) {
  const std::string_view text = trimmed(value);
  for (const Choice& choice : form.choices->entries())
    if (sameWord(text, choice.word)) return choice.code;
  for (const ChoiceAlias& alias : form.choices->aliases())
    if (sameWord(text, alias.word)) return alias.code;
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

std::variant<int, std::string> readValue(const ParameterValue& form, std::string_view value, int current) {
  switch (form.form) {
    case ParameterValue::Form::Number:
      return readNumber(form, value, current);
    case ParameterValue::Form::Ratio:
      return readRatio(form, value);
    case ParameterValue::Form::Choice:
      return readChoice(form, value);
    case ParameterValue::Form::Name:
      break;
  }
  return refused(value, form);
}

std::string valueText(const ParameterValue& form, int code) {
  switch (form.form) {
    case ParameterValue::Form::Number: {
      std::string text = fieldRules(form, form.scale->kind).text(code + form.scale->shown);
      if (text != kOff && !text.ends_with(form.scale->unit)) text += form.scale->unit;
      return text;
    }
    case ParameterValue::Form::Ratio:
      return fieldRules(form, form.scale->kind).text(ValueScales::SnapRatio(code));
    case ParameterValue::Form::Choice: {
      const Choice* choice = form.choices->find(code);
      return choice ? std::string(choice->word) : std::to_string(code);
    }
    case ParameterValue::Form::Name:
      break;
  }
  return std::to_string(code);
}

std::string valueExample(const ParameterValue& form) {
  switch (form.form) {
    case ParameterValue::Form::Number:
      return valueText(form, form.scale->minimum - form.scale->shown) + ".." +
             valueText(form, form.scale->maximum - form.scale->shown);
    case ParameterValue::Form::Ratio:
      return form.scale->kind == NumKind::AgcRatio ? "1:1..1:20" : "1:1..20:1";
    case ParameterValue::Form::Choice: {
      std::string list;
      for (const Choice& choice : form.choices->entries())
        list += (list.empty() ? "" : "|") + std::string(choice.word);
      return list;
    }
    case ParameterValue::Form::Name:
      break;
  }
  return std::string(form.what);
}

}  // namespace orvane::control
