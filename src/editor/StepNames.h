#pragma once

// How the history names a step after what it changed, in the current
// language: the first changed value as the user sees it, and how many more
// changed with it ("Input A gain -6.0dB (+3 more)").

#include <span>
#include <string>

#include "control/ParameterComparison.h"

namespace orvane::editor::StepNames {

// `changed` holds each value before (left) and after (right) the step.
std::string describe(std::span<const control::Difference> changed);

}  // namespace orvane::editor::StepNames
