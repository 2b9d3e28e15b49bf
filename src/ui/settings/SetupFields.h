#pragma once

// How the numeric fields of the set-up dialogs show their codes.

#include "model/Scales.h"
#include "ui/pages/PageControls.h"

namespace orvane::ui::SetupFields {

// A chairman is never attenuated: the one attenuation code that reads 0.0dB.
inline constexpr ParameterScale kChairman{NumKind::Level,
                                          Scales::kAttenuation.step,
                                          Scales::kAttenuation.offset,
                                          Scales::kAttenuation.maximum,
                                          Scales::kAttenuation.maximum,
                                          Scales::kAttenuation.unit,
                                          Scales::kAttenuation.decimals};

// A field on `scale` with its unit after the number.
NumField* make(QWidget* parent, const ParameterScale& scale);

}  // namespace orvane::ui::SetupFields
