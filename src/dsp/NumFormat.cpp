#include "dsp/NumFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "dsp/FreqGrid.h"
#include "model/QTable.h"
#include "model/ValueScales.h"

namespace orvane {

namespace {

namespace VS = ValueScales;

// Delay codes up to 480 count 48 kHz samples; above, each code is one ms.
constexpr int kLastSampleCode = 480;
constexpr double kMsAtLastSample = 10.0;
constexpr double kDelayStepMs = 1.0 / 48.0;

// Attack codes 0..6 are 0.3..0.9 ms in tenths; from 7 on whole ms.
constexpr int kLastTenthAttack = 6;
constexpr double kShortestAttackMs = 0.3;
constexpr double kLongestTenthAttackMs = 0.9;

constexpr double kNarrowestOctaves = 0.05;
constexpr double kWidestOctaves = 3.0;
// Absorbs the binary error of a typed bandwidth such as 0.30 before the
// division by the step truncates it.
constexpr double kOctaveSlack = 0.0000011;

// Typed values that stand for "OFF" on the noise gate and the dBu fields.
constexpr double kNoiseGateOffValue = -120.0;
constexpr double kDbuOffValue = 20.0;

// Added before a value in codes is cut to its integer part: a decimal such
// as -29.8 has no exact binary form, and without this a typed figure could
// land one code below the one the field shows for it.
constexpr double kCodeSlack = 1e-6;

constexpr std::string_view kOff = "OFF";

double MsOf(int code) {
  return code <= kLastSampleCode ? code * kDelayStepMs : (code - kLastSampleCode) + kMsAtLastSample;
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
  };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Where the number of a typed text starts: after leading blanks, with its
// sign taken off.
struct NumberStart {
  std::string_view rest;
  bool negative = false;
};

NumberStart SkipSign(std::string_view text) {
  NumberStart start;
  const std::size_t first = text.find_first_not_of(" \t\n\r\v\f");
  start.rest = first == std::string_view::npos ? std::string_view() : text.substr(first);
  if (!start.rest.empty() && (start.rest.front() == '-' || start.rest.front() == '+')) {
    start.negative = start.rest.front() == '-';
    start.rest.remove_prefix(1);
  }
  return start;
}

// The leading decimal number of `text`, 0 when there is none ("", "-",
// "OFF"); what follows the number ("dB", a second point) is ignored. The
// point is always '.', whatever the system's locale says.
double ReadDecimal(std::string_view text) {
  const NumberStart start = SkipSign(text);
  const std::string_view rest = start.rest;
  std::size_t length = 0;
  bool point = false;
  bool digits = false;
  for (; length < rest.size(); ++length) {
    const char c = rest[length];
    if (IsDigit(c)) {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  double value = 0.0;
  const std::from_chars_result read =
      std::from_chars(rest.data(), rest.data() + length, value, std::chars_format::fixed);
  if (read.ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::max();
  return start.negative ? -value : value;
}

// The leading whole number of `text`, 0 when there is none; a number too
// long for an int reads as the largest int of its sign.
int ReadInteger(std::string_view text) {
  const NumberStart start = SkipSign(text);
  long long value = 0;
  constexpr long long kCap = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
  for (const char c : start.rest) {
    if (!IsDigit(c)) break;
    value = std::min(value * 10 + (c - '0'), kCap);
  }
  if (start.negative) value = -value;
  return static_cast<int>(
      std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Frequencies of the grid as the field stores them: whole Hz, cut down.
int GridHz(std::size_t index) {
  return static_cast<int>(FreqGrid[index]);
}

// The first whole grid frequency above `hz`, if any.
int GridAbove(int hz, int fallback) {
  for (std::size_t i = 0; i < kGridPoints; ++i) {
    if (GridHz(i) > hz) return GridHz(i);
  }
  return fallback;
}

// The last whole grid frequency below `hz`, if any.
int GridBelow(int hz, int fallback) {
  for (std::size_t i = kGridPoints; i-- > 0;) {
    if (GridHz(i) < hz) return GridHz(i);
  }
  return fallback;
}

// Ratios the device has: 1.0..2.0 in tenths, then whole and half ratios.
bool IsDeviceRatio(int code) {
  return code >= 1 && VS::SnapRatio(code) == code;
}

}  // namespace

double NumFormat::effectiveStep() const {
  return std::isfinite(step) && step > 0.0 ? step : 1.0;
}

bool NumFormat::takesTypedText() const {
  return !isRatio();
}

bool NumFormat::acceptsCharacter(char32_t character) {
  return (character >= U'0' && character <= U'9') || character == U'.' || character == U'-';
}

std::string NumFormat::text(int code) const {
  const double unitStep = effectiveStep();
  const auto scaled = [&](int decimals) { return VS::FixedText(code * unitStep - offset, decimals); };
  switch (kind) {
    case NumKind::DelayMs:
      return VS::DelayMsDisplay(code);
    case NumKind::DelayMetres:
      return VS::DelayMetresDisplay(code);
    case NumKind::DelayFeet:
      return VS::DelayFeetDisplay(code);
    case NumKind::Frequency:
      return std::to_string(code);
    case NumKind::Attack:
      if (code <= kLastTenthAttack) return VS::FixedText((code + 3) / 10.0, 1);
      return std::to_string(code - kLastTenthAttack);
    case NumKind::Integer:
      return std::to_string(code) + suffix;
    case NumKind::Octaves:
      return VS::FixedText(code * unitStep + kNarrowestOctaves, 2);
    case NumKind::Level:
      return scaled(1) + suffix;
    case NumKind::QFigure:
      return QTable::QText(code);
    case NumKind::ScaledInteger: {
      const double units = std::clamp(code * unitStep, -1e15, 1e15);
      const double whole = std::trunc(units + (units < 0 ? -kCodeSlack : kCodeSlack));
      return std::to_string(static_cast<long long>(whole)) + suffix;
    }
    case NumKind::WholeLevel:
      return code == 0 ? std::string(kOff) : scaled(0);
    case NumKind::LevelDbu:
      return scaled(1) + "dBu";
    case NumKind::LevelOffAtTop:
      return code == maximum ? std::string(kOff) : scaled(1);
    case NumKind::LevelOffAtMin:
      return code == minimum ? std::string(kOff) : scaled(1) + suffix;
    case NumKind::LevelOffAtMax:
      return code == maximum ? std::string(kOff) : scaled(1) + suffix;
    case NumKind::CompressorRatio:
      return VS::RatioText(code, VS::RatioKind::Compressor);
    case NumKind::AgcRatio:
      return VS::RatioText(code, VS::RatioKind::Agc);
  }
  return std::to_string(code);
}

NumParsed NumFormat::parse(std::string_view typed, int current) const {
  // The integer part of a value counted in codes, kept inside the range.
  const auto code = [this](double codes) {
    if (std::isnan(codes)) return minimum;
    const double whole = std::trunc(codes + kCodeSlack);
    return static_cast<int>(std::clamp(whole, static_cast<double>(minimum), static_cast<double>(maximum)));
  };
  const auto limited = [this](int value) { return std::clamp(value, minimum, maximum); };
  const std::string_view text = Trimmed(typed);
  const bool off = text == kOff;
  double x = ReadDecimal(text);
  const double unitStep = effectiveStep();

  switch (kind) {
    case NumKind::DelayMs: {
      if (x < 0) return {minimum, true};
      if (x > MsOf(maximum)) return {maximum, false};
      // Up to 10 ms the nearest sample, so that a figure typed as shown
      // gives back the code shown; above, whole milliseconds, cut down.
      return {code(x > kMsAtLastSample ? x - kMsAtLastSample + kLastSampleCode : x / kDelayStepMs + 0.5),
              false};
    }
    case NumKind::DelayMetres:
    case NumKind::DelayFeet: {
      const bool feet = kind == NumKind::DelayFeet;
      double limit = VS::kSoundMetresPerMs * MsOf(maximum);
      if (feet) limit *= VS::kFeetPerMetre;
      bool outOfRange = false;
      if (x > limit) x = limit;
      if (x < 0) {
        outOfRange = true;
        x = 0;
      }
      if (feet) x /= VS::kFeetPerMetre;
      const double ms = x / VS::kSoundMetresPerMs;
      return {code(ms > kMsAtLastSample ? ms - kMsAtLastSample + kLastSampleCode : ms / kDelayStepMs + 0.5),
              outOfRange};
    }
    case NumKind::Frequency:
      if (off) return {current, false};
      return {limited(ReadInteger(text)), false};
    case NumKind::Attack: {
      x = std::max(x, kShortestAttackMs);
      x = std::min(x, static_cast<double>(maximum - kLastTenthAttack));
      if (x >= kShortestAttackMs && x <= kLongestTenthAttackMs)
        return {code((x - kShortestAttackMs) * 10.0), false};
      if (x >= 1.0 && x <= maximum) return {code(x + kLastTenthAttack), false};
      return {current, false};  // between 0.9 and 1 ms there is no attack time
    }
    case NumKind::Integer:
      return {limited(ReadInteger(text)), false};
    case NumKind::Octaves:
      x = std::clamp(x, kNarrowestOctaves, kWidestOctaves);
      return {code((x - kNarrowestOctaves + kOctaveSlack) / unitStep), false};
    case NumKind::QFigure:
      return {limited(QTable::QToBandwidthCode(x)), false};
    case NumKind::ScaledInteger:
      x = std::clamp(x, minimum * unitStep, maximum * unitStep);
      return {code(x / unitStep), false};
    case NumKind::Level:
    case NumKind::WholeLevel:
    case NumKind::LevelDbu:
    case NumKind::LevelOffAtTop:
    case NumKind::LevelOffAtMin:
    case NumKind::LevelOffAtMax: {
      if (off) {
        if (kind == NumKind::WholeLevel) x = kNoiseGateOffValue;
        if (kind == NumKind::LevelDbu) x = kDbuOffValue;
        if (kind == NumKind::LevelOffAtTop || kind == NumKind::LevelOffAtMax) return {maximum, false};
        if (kind == NumKind::LevelOffAtMin) return {minimum, false};
      }
      x = std::clamp(x, minimum * unitStep - offset, maximum * unitStep - offset);
      return {code((x + offset) * 10.0 / (unitStep * 10.0)), false};
    }
    case NumKind::CompressorRatio:
    case NumKind::AgcRatio:
      return {current, false};
  }
  return {current, false};
}

int NumFormat::arrowStep(int code, int steps) const {
  const int from = std::clamp(code, minimum, maximum);
  if (steps == 0) return from;
  const bool up = steps > 0;
  if (kind == NumKind::Frequency || isRatio()) {
    // Each press moves to the next point; a few hundred presses cross any
    // range, so a large count ends as soon as nothing moves any more.
    int value = from;
    const long long presses =
        std::min<long long>(std::llabs(static_cast<long long>(steps)), kGridPoints + 200);
    for (long long i = 0; i < presses; ++i) {
      int next = value;
      if (kind == NumKind::Frequency) {
        next = up ? GridAbove(value, value) : GridBelow(value, minimum);
      } else if (up) {
        for (int c = value + 1; c <= maximum; ++c) {
          if (IsDeviceRatio(c)) {
            next = c;
            break;
          }
        }
      } else {
        for (int c = value - 1; c >= minimum; --c) {
          if (IsDeviceRatio(c)) {
            next = c;
            break;
          }
        }
      }
      next = std::clamp(next, minimum, maximum);
      if (next == value) break;
      value = next;
    }
    return value;
  }
  const long long moved = static_cast<long long>(from) + steps;
  return static_cast<int>(std::clamp<long long>(moved, minimum, maximum));
}

int NumFormat::wheelStep(int code, int notches) const {
  if (isRatio()) return arrowStep(code, notches);
  const long long moved = static_cast<long long>(std::clamp(code, minimum, maximum)) + notches;
  return static_cast<int>(std::clamp<long long>(moved, minimum, maximum));
}

}  // namespace orvane
