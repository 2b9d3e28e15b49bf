#pragma once

// The digital designs of the device's EQ bands and crossover filters at its
// 96 kHz sample rate, with the device's own constants, so that the drawn
// curve is the response the device produces.

#include "dsp/Cascade.h"

namespace orvane::FilterDesign {

// Radians per sample per Hz at 96 kHz, rounded as the device rounds it.
inline constexpr double kRadiansPerHz = 6.544985e-05;

// Peaking band; the centre is first moved to the nearest grid frequency.
Cascade peaking(double hz, double gainDb, double bandwidthOct);

// Low and high shelf; `slope` is the band's `Slope` byte (0 = 6 dB/oct,
// 1 = 12 dB/oct). A gain of exactly 0 dB, or a slope byte the device does
// not know, gives the unity cascade.
Cascade lowShelf(double hz, int slope, double gainDb);
Cascade highShelf(double hz, int slope, double gainDb);

// Crossover filters: `family` is the `XMode` byte, `slope` the `XSLope`
// code. A family above 2 or a slope above 6 (a damaged record) gives the
// unity cascade.
Cascade highPass(double hz, int family, int slope);
Cascade lowPass(double hz, int family, int slope);

}  // namespace orvane::FilterDesign
