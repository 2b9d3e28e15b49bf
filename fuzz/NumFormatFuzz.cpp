// Typed text read by a numeric field of every display kind, with the step,
// offset and range a page could give it. Whatever is typed, the code taken
// lies in the field's range; so does every code the arrows and the wheel
// reach, and the text of a code reads back to a code in range.

#include <array>
#include <cmath>

#include "FuzzBytes.h"
#include "ImageChecks.h"
#include "dsp/NumFormat.h"

using namespace orvane;
using namespace orvane::fuzz;

namespace {

constexpr std::array<NumKind, 17> kKinds{
    NumKind::DelayMs,       NumKind::DelayMetres,   NumKind::DelayFeet,     NumKind::Frequency,
    NumKind::Attack,        NumKind::Integer,       NumKind::Octaves,       NumKind::Level,
    NumKind::QFigure,       NumKind::ScaledInteger, NumKind::WholeLevel,    NumKind::LevelDbu,
    NumKind::LevelOffAtTop, NumKind::LevelOffAtMin, NumKind::LevelOffAtMax, NumKind::CompressorRatio,
    NumKind::AgcRatio};

// Steps and offsets as the pages use them, or any other from -327.68 to
// 327.67 in hundredths (zero and negative steps included).
double figure(FuzzBytes& in, std::span<const double> usual) {
  const std::uint16_t raw = in.word();
  if (raw < 0x8000) return usual[raw % usual.size()];
  return static_cast<std::int16_t>(raw) / 100.0;
}

bool inRange(const NumFormat& f, int code) {
  return code >= f.minimum && code <= f.maximum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr std::array<double, 8> kSteps{0.0, 0.1, 0.5, 1.0, 0.05, 10.0, 0.25, 2.0};
  static constexpr std::array<double, 6> kOffsets{0.0, 40.0, 48.0, 80.0, 100.0, 120.0};
  FuzzBytes in(data, size);
  NumFormat f;
  f.kind = kKinds[in.pick(kKinds.size())];
  f.step = figure(in, kSteps);
  f.offset = figure(in, kOffsets);
  const int a = static_cast<std::int16_t>(in.word());
  const int b = static_cast<std::int16_t>(in.word());
  f.minimum = std::min(a, b);
  f.maximum = std::max(a, b);
  f.suffix = in.flag() ? "dB" : "";
  const int current = f.minimum + static_cast<int>(in.word() % (f.maximum - f.minimum + 1));
  const int steps = static_cast<std::int8_t>(in.byte());
  const std::string_view typed = in.restAsText();

  const NumParsed parsed = f.parse(typed, current);
  require(inRange(f, parsed.code), "typed text gives a code out of range");
  const std::string shown = f.text(parsed.code);
  require(inRange(f, f.parse(shown, parsed.code).code), "a shown value reads back out of range");
  require(inRange(f, f.arrowStep(current, steps)), "arrows leave the range");
  require(inRange(f, f.wheelStep(current, steps)), "the wheel leaves the range");
  require(f.effectiveStep() > 0 && std::isfinite(f.effectiveStep()), "a step that divides by zero");
  for (char32_t c : {U'0', U'.', U'-'}) require(NumFormat::acceptsCharacter(c), "a number character refused");
  return 0;
}
