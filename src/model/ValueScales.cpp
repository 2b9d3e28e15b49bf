#include "model/ValueScales.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace orvane::ValueScales {

namespace {

// A scale whose value is a straight line through the codes, held exactly as
// hundredths of the unit: hundredths = code * step + offset.
struct Linear {
  int step;
  int offset;
  int decimals;
  std::string_view unit;
};

struct Rule {
  CodeRange range;
  std::optional<int> off;
  std::optional<Linear> linear;  // absent for delay, attack and ratio
};

constexpr int kSamplesPerMs = 48;
constexpr int kLastSampleCode = 480;  // 10 ms; above it the steps are whole milliseconds
constexpr int kMsAboveSampleCodes = 10;
constexpr int kLastSubMsAttack = 6;  // 0.9 ms; from 7 on the attack counts whole milliseconds
constexpr int kRatioUnity = 1;
constexpr int kRatioTwo = 11;
constexpr int kRatioMax = 191;
constexpr int kHundredths = 2;

Rule RuleOf(Scale scale) {
  switch (scale) {
    case Scale::ChannelGain:
      return {{0, 420}, std::nullopt, Linear{10, -3000, 1, "dB"}};
    case Scale::MasterLevel:
      return {{0, 720}, 0, Linear{10, -6000, 1, "dB"}};
    case Scale::MixLevel:
      return {{0, 120}, 0, Linear{50, -6000, 0, "dB"}};
    case Scale::EqGain:
      return {{0, 600}, std::nullopt, Linear{10, -4000, 1, "dB"}};
    case Scale::Bandwidth:
      return {{0, 295}, std::nullopt, Linear{1, 5, 2, "oct"}};
    case Scale::Frequency:
      return {{20, 20000}, std::nullopt, Linear{100, 0, 0, "Hz"}};
    case Scale::Delay:
      return {{0, 1470}, std::nullopt, std::nullopt};
    case Scale::NoiseGate:
      return {{0, 130}, 0, Linear{100, -12000, 0, "dBu"}};
    case Scale::AgcLevel:
      return {{0, 1000}, 0, Linear{10, -8000, 1, "dB"}};
    case Scale::DynamicsLevel:
      return {{0, 500}, 500, Linear{10, -3000, 1, "dB"}};
    case Scale::Attack:
      return {{0, 206}, std::nullopt, std::nullopt};
    case Scale::Release:
      return {{0, 4950}, std::nullopt, Linear{100, 5000, 0, "ms"}};
    case Scale::Ratio:
      return {{kRatioUnity, kRatioMax}, std::nullopt, std::nullopt};
  }
  return {{0, 0}, std::nullopt, std::nullopt};
}

long long PowerOfTen(int exponent) {
  long long power = 1;
  for (int i = 0; i < exponent; ++i) power *= 10;
  return power;
}

// Writes `scaled` / 10^scaledDecimals with `decimals` places (decimals <=
// scaledDecimals). Integer arithmetic keeps every code's text exact.
std::string ScaledText(long long scaled, int scaledDecimals, int decimals) {
  const long long drop = PowerOfTen(scaledDecimals - decimals);
  const bool negative = scaled < 0;
  const long long magnitude = ((negative ? -scaled : scaled) + drop / 2) / drop;
  const char* sign = negative && magnitude != 0 ? "-" : "";
  const long long unit = PowerOfTen(decimals);
  std::array<char, 48> buffer{};
  if (decimals == 0) {
    std::snprintf(buffer.data(), buffer.size(), "%s%lld", sign, magnitude);
  } else {
    std::snprintf(buffer.data(), buffer.size(), "%s%lld.%0*lld", sign, magnitude / unit, decimals,
                  magnitude % unit);
  }
  return buffer.data();
}

long long Hundredths(const Linear& linear, int code) {
  return static_cast<long long>(code) * linear.step + linear.offset;
}

std::string DelayFigure(int code) {
  const double ms = DelayToMs(code);
  return FixedText(ms, ms >= kMsAboveSampleCodes ? 0 : 3);
}

}  // namespace

CodeRange RangeOf(Scale scale) {
  return RuleOf(scale).range;
}

int ClampCode(Scale scale, int code) {
  const CodeRange range = RangeOf(scale);
  return std::clamp(code, range.min, range.max);
}

std::optional<int> OffCode(Scale scale) {
  return RuleOf(scale).off;
}

bool IsOff(Scale scale, int code) {
  const std::optional<int> off = OffCode(scale);
  return off.has_value() && ClampCode(scale, code) == *off;
}

double ToUnit(Scale scale, int code) {
  const Rule rule = RuleOf(scale);
  const int c = ClampCode(scale, code);
  if (rule.linear) return static_cast<double>(Hundredths(*rule.linear, c)) / 100.0;
  switch (scale) {
    case Scale::Delay:
      return DelayToMs(c);
    case Scale::Attack:
      return c <= kLastSubMsAttack ? (c + 3) / 10.0 : c - kLastSubMsAttack;
    default:
      return (c + 9) / 10.0;
  }
}

std::string LevelText(Scale scale, int code) {
  if (IsOff(scale, code)) return "OFF";
  const Rule rule = RuleOf(scale);
  if (rule.linear) {
    const Linear& linear = *rule.linear;
    const long long hundredths = Hundredths(linear, ClampCode(scale, code));
    return ScaledText(hundredths, kHundredths, linear.decimals) + std::string(linear.unit);
  }
  switch (scale) {
    case Scale::Delay:
      return DelayText(code);
    case Scale::Attack:
      return AttackText(code);
    default:
      return RatioText(code, RatioKind::Compressor);
  }
}

std::string FixedText(double value, int decimals) {
  const int places = std::clamp(decimals, 0, 9);
  const double scaled = value * static_cast<double>(PowerOfTen(places));
  if (!std::isfinite(scaled) || std::fabs(scaled) > 1e17) {
    std::array<char, 64> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.*f", places, value);
    return buffer.data();
  }
  return ScaledText(std::llround(scaled), places, places);
}

double DelayToMs(int code) {
  const int c = ClampCode(Scale::Delay, code);
  if (c <= kLastSampleCode) return static_cast<double>(c) / kSamplesPerMs;
  return (c - kLastSampleCode) + kMsAboveSampleCodes;
}

double DelayToMetres(int code) {
  return kSoundMetresPerMs * DelayToMs(code);
}

double DelayToFeet(int code) {
  return DelayToMetres(code) * kFeetPerMetre;
}

std::string DelayText(int code) {
  return DelayFigure(code) + "ms";
}

std::string DelayMsDisplay(int code) {
  return DelayFigure(code);
}

std::string DelayMetresDisplay(int code) {
  const bool samples = ClampCode(Scale::Delay, code) <= kLastSampleCode;
  return FixedText(DelayToMetres(code), samples ? 3 : 0);
}

std::string DelayFeetDisplay(int code) {
  const double feet = DelayToFeet(code);
  if (ClampCode(Scale::Delay, code) > kLastSampleCode) return FixedText(feet, 0);
  return FixedText(feet, feet > 10.0 ? 2 : 3);
}

std::string AttackText(int code) {
  const int c = ClampCode(Scale::Attack, code);
  if (c <= kLastSubMsAttack) return ScaledText(c + 3, 1, 1) + "ms";
  return std::to_string(c - kLastSubMsAttack) + "ms";
}

std::string ReleaseText(int code) {
  return LevelText(Scale::Release, code);
}

std::string RatioText(int code, RatioKind kind) {
  const int c = ClampCode(Scale::Ratio, code);
  if (c == kRatioUnity) return "1:1";
  const int whole = (c + 9) / 10;
  const int tenth = (c + 9) % 10;
  std::array<char, 16> buffer{};
  if (kind == RatioKind::Compressor) {
    std::snprintf(buffer.data(), buffer.size(), "%d.%d:1", whole, tenth);
  } else {
    std::snprintf(buffer.data(), buffer.size(), "1:%d.%d", whole, tenth);
  }
  return buffer.data();
}

int SnapRatio(int code) {
  int c = std::max(code, kRatioUnity);
  const int step = (c - 1) % 10;
  if (c > kRatioTwo && step != 0 && step != 5) c = c / 10 * 10 + 6;
  return std::min(c, kRatioMax);
}

}  // namespace orvane::ValueScales
