#pragma once

// The scales of the image's numeric parameters, each written once.

#include "model/ParameterScale.h"
#include "model/SetupSettings.h"

namespace orvane::Scales {

using K = NumKind;
using R = SetupSettings;

// Channel `Gain`: -30.0..+12.0 dB, 300 = 0 dB.
inline constexpr ParameterScale kChannelGain{K::Level, 0.1, 30, 0, 420, "dB", 1};
// `Delay`: 48 kHz samples up to 10 ms, then whole ms up to 1000 ms.
inline constexpr ParameterScale kDelay{K::DelayMs, 1, 0, 0, 1470, "ms", 3};
// The same delay as the distance sound travels in it.
inline constexpr ParameterScale kDelayMetres{K::DelayMetres, 1, 0, 0, 1470, "m", 3};
inline constexpr ParameterScale kDelayFeet{K::DelayFeet, 1, 0, 0, 1470, "ft", 3};
// `NoiseGate`: -119..+10 dBu, 0 = off.
inline constexpr ParameterScale kNoiseGate{K::WholeLevel, 1, 120, 0, 130, "dBu"};
// Link group 1..8, stored 0..7.
inline constexpr ParameterScale kLinkGroup{K::Integer, 1, 0, 1, 8, {}, 0, 1};

// EQ band `FQCY` and crossover corners `XFQCY_Lo`, `XFQCY_Hi`: 20..20000 Hz.
inline constexpr ParameterScale kFrequency{K::Frequency, 1, 0, 20, 20000, "Hz"};
// EQ band `Gain`: -40.0..+20.0 dB, 400 = flat.
inline constexpr ParameterScale kEqGain{K::Level, 0.1, 40, 0, 600, "dB", 1};
// EQ band `Q` as a bandwidth: 0.05..3.00 octaves.
inline constexpr ParameterScale kOctaves{K::Octaves, 0.01, -0.05, 0, 295, "oct", 2};
// The same `Q` as the Q figure of the band.
inline constexpr ParameterScale kQ{K::QFigure, 1, 0, 0, 295, {}, 2};

// `AGC_TargetLevel`, `AGC_Threshold`: -79.9..+20.0 dB, 0 = off.
inline constexpr ParameterScale kAgcLevel{K::LevelOffAtMin, 0.1, 80, 0, 1000, "dB", 1};
// An input's `Comp_Level`: -30.0..+19.9 dB, 500 = off.
inline constexpr ParameterScale kInputCompressorLevel{K::LevelOffAtMax, 0.1, 30, 0, 500, "dB", 1};
// An output's `Comp_Level` and `Lim_Threshold`: the same codes, shown
// without the unit.
inline constexpr ParameterScale kOutputLevel{K::LevelOffAtTop, 0.1, 30, 0, 500, "dB", 1};
// `Comp_A`, `Lim_Attack`, `AGC_ResponseTime`: 0.3..0.9 ms in tenths, then
// whole ms up to 200 ms.
inline constexpr ParameterScale kAttack{K::Attack, 1, 0, 0, 206, "ms", 1};
// `Comp_R`, `Lim_Release`, `AGC_ReleaseTime`: 50..5000 ms, stored 50 ms lower.
inline constexpr ParameterScale kRelease{K::Integer, 1, 0, 50, 5000, "ms", 0, 50};
// `Comp_ratio`: "2.5:1"; `AGC_Ratio`: "1:2.5". 1.0..20.0.
inline constexpr ParameterScale kCompressorRatio{K::CompressorRatio, 1, 0, 1, 191};
inline constexpr ParameterScale kAgcRatio{K::AgcRatio, 1, 0, 1, 191};

// A crosspoint's `Out1_MG` … `Out8_MG`: -59.5..0 dB, 0 = crosspoint off.
inline constexpr ParameterScale kMixLevel{K::LevelOffAtMin, 0.5, 60, 0, 120, "dB"};
// `Allvolume`: -59.9..+12.0 dB, 0 = off.
inline constexpr ParameterScale kMasterLevel{K::LevelOffAtMin, 0.1, 60, 0, 720, "dB", 1};

// The set-up block.
inline constexpr ParameterScale kZeroDbfs{K::Integer, 1, 0, R::kZeroDbfsDbu.min, R::kZeroDbfsDbu.max, "dBu"};
inline constexpr ParameterScale kThreshold{K::LevelDbu,           0.1,   120, R::kThresholdCode.min,
                                           R::kThresholdCode.max, "dBu", 1};
inline constexpr ParameterScale kAttenuation{K::LevelOffAtMin,        0.1,  80, R::kAttenuationCode.min,
                                             R::kAttenuationCode.max, "dB", 1};
inline constexpr ParameterScale kOpticalDelay{K::Integer, 1, 0, 0, R::kOpticalDelaySteps.max};
inline constexpr ParameterScale kChannels{
    K::Integer, 1, 0, R::kSimultaneousChannels.min + 1, R::kSimultaneousChannels.max + 1, {}, 0, 1};
// The start-up program: 0 = the program run last, else 1..30.
inline constexpr ParameterScale kStartup{K::Integer, 1, 0, 0, 30};

}  // namespace orvane::Scales
