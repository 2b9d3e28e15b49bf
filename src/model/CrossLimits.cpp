#include "model/CrossLimits.h"

#include <algorithm>

namespace orvane::CrossLimits {

namespace {

// The AGC levels are on a scale 50 dB (500 codes) below the compressor's.
constexpr int kScaleGap = 500;

int inputDynamics(const ParameterImage& image, int channel, Field field, int code) {
  using namespace InputField;
  const auto value = [&](Field f) { return image.field(Side::Input, channel, f); };
  if (field == Comp_Level) return std::max(code, value(AGC_TargetLevel) - kScaleGap);
  if (field == AGC_TargetLevel)
    return std::max(std::min(code, value(Comp_Level) + kScaleGap), value(AGC_Threshold));
  if (field == AGC_Threshold) return std::min(code, value(AGC_TargetLevel));
  return code;
}

int outputDynamics(const ParameterImage& image, int channel, Field field, int code) {
  using namespace OutputField;
  if (field == Comp_Level) return std::min(code, image.field(Side::Output, channel, Lim_Threshold));
  if (field == Lim_Threshold) return std::max(code, image.field(Side::Output, channel, Comp_Level));
  return code;
}

}  // namespace

int crossoverCorner(const CrossoverPair& pair, bool highPass, int hz) {
  return highPass ? std::min(hz, pair.XFQCY_Hi) : std::max(hz, pair.XFQCY_Lo);
}

int dynamics(const ParameterImage& image, Side side, int channel, Field field, int code) {
  return side == Side::Input ? inputDynamics(image, channel, field, code)
                             : outputDynamics(image, channel, field, code);
}

}  // namespace orvane::CrossLimits
