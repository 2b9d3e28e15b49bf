#pragma once

// How the numeric fields of the set-up dialogs show their codes.

#include "model/SetupSettings.h"
#include "ui/pages/PageControls.h"

namespace orvane::ui::SetupFields {

using R = SetupSettings;

// "%d" followed by "dBu", 6 to 24.
inline constexpr FieldFormat kZeroDbfs{NumKind::Integer, 1.0, 0.0, R::kZeroDbfsDbu.min, R::kZeroDbfsDbu.max};
// Code x 0.1 - 120 with "dBu": -70.0dBu to +10.0dBu.
inline constexpr FieldFormat kThreshold{NumKind::LevelDbu, 0.1, 120.0, R::kThresholdCode.min,
                                        R::kThresholdCode.max};
// Code x 0.1 - 80 with "dB", "OFF" at the bottom.
inline constexpr FieldFormat kAttenuation{NumKind::LevelOffAtMin, 0.1, 80.0, R::kAttenuationCode.min,
                                          R::kAttenuationCode.max};
// A chairman is never attenuated: the one code that reads 0.0dB.
inline constexpr FieldFormat kChairman{NumKind::Level, 0.1, 80.0, R::kAttenuationCode.max,
                                       R::kAttenuationCode.max};

// A field of `format` with its unit after the number.
NumField* make(QWidget* parent, const FieldFormat& format, const char* suffix);

}  // namespace orvane::ui::SetupFields
