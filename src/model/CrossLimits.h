#pragma once

// Fields of a channel that keep within limits their neighbours set: the
// high-pass corner stays at or below the low-pass corner, and the dynamics
// levels keep their order (input: AGC threshold <= AGC target <= compressor
// level, across the two scales; output: compressor level <= limiter
// threshold). The channel pages and the command-line paths apply the same
// rules.

#include "model/ParameterImage.h"

namespace orvane::CrossLimits {

// The corner to store when `hz` is set on the high-pass (`highPass`) or the
// low-pass of `pair`.
int crossoverCorner(const CrossoverPair& pair, bool highPass, int hz);

// The code to store when `code` is set on dynamics field `field` of the
// edited channel; other fields pass unchanged.
int dynamics(const ParameterImage& image, Side side, int channel, Field field, int code);

}  // namespace orvane::CrossLimits
