#include "model/ValueScales.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "model/Scales.h"

namespace orvane::ValueScales {

namespace {

constexpr int kSamplesPerMs = 48;
constexpr int kLastSampleCode = 480;  // 10 ms; above it the steps are whole milliseconds
constexpr int kMsAboveSampleCodes = 10;
constexpr int kLastSubMsAttack = 6;  // 0.9 ms; from 7 on the attack counts whole milliseconds
constexpr int kRatioUnity = 1;
constexpr int kRatioTwo = 11;
constexpr int kHundredths = 2;

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

// The value of a straight-line scale in hundredths of its unit, exact for
// every code: the steps and offsets are whole hundredths.
long long Hundredths(const ParameterScale& scale, int code) {
  const auto hundredths = [](double units) { return std::llround(units * 100.0); };
  return (static_cast<long long>(code) + scale.shown) * hundredths(scale.step) - hundredths(scale.offset);
}

std::string DelayFigure(int code) {
  const double ms = DelayToMs(code);
  return FixedText(ms, ms >= kMsAboveSampleCodes ? 0 : 3);
}

}  // namespace

int ClampCode(const ParameterScale& scale, int code) {
  return std::clamp(code, scale.storedMinimum(), scale.storedMaximum());
}

bool IsOff(const ParameterScale& scale, int code) {
  const std::optional<int> off = scale.offCode();
  return off.has_value() && ClampCode(scale, code) == *off;
}

double ToUnit(const ParameterScale& scale, int code) {
  const int c = ClampCode(scale, code);
  if (scale.isLinear()) return static_cast<double>(Hundredths(scale, c)) / 100.0;
  switch (scale.kind) {
    case NumKind::Attack:
      return c <= kLastSubMsAttack ? (c + 3) / 10.0 : c - kLastSubMsAttack;
    case NumKind::CompressorRatio:
    case NumKind::AgcRatio:
      return (c + 9) / 10.0;
    default:
      return DelayToMs(c);
  }
}

std::string LevelText(const ParameterScale& scale, int code) {
  if (IsOff(scale, code)) return "OFF";
  if (scale.isLinear())
    return ScaledText(Hundredths(scale, ClampCode(scale, code)), kHundredths, scale.decimals) +
           std::string(scale.unit);
  switch (scale.kind) {
    case NumKind::Attack:
      return AttackText(code);
    case NumKind::CompressorRatio:
      return RatioText(code, RatioKind::Compressor);
    case NumKind::AgcRatio:
      return RatioText(code, RatioKind::Agc);
    default:
      return DelayText(code);
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
  const int c = ClampCode(Scales::kDelay, code);
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
  const bool samples = ClampCode(Scales::kDelay, code) <= kLastSampleCode;
  return FixedText(DelayToMetres(code), samples ? 3 : 0);
}

std::string DelayFeetDisplay(int code) {
  const double feet = DelayToFeet(code);
  if (ClampCode(Scales::kDelay, code) > kLastSampleCode) return FixedText(feet, 0);
  return FixedText(feet, feet > 10.0 ? 2 : 3);
}

std::string AttackText(int code) {
  const int c = ClampCode(Scales::kAttack, code);
  if (c <= kLastSubMsAttack) return ScaledText(c + 3, 1, 1) + "ms";
  return std::to_string(c - kLastSubMsAttack) + "ms";
}

std::string RatioText(int code, RatioKind kind) {
  const int c = ClampCode(Scales::kCompressorRatio, code);
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
  return std::min(c, Scales::kCompressorRatio.maximum);
}

}  // namespace orvane::ValueScales
