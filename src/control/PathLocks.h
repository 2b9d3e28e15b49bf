#pragma once

// Whether the function lock that the catalog names for a parameter path
// is set, as the editor disables the control of a locked function. As in
// the editor and the report, a locked parameter is neither changed nor
// shown.

#include <string>
#include <string_view>

#include "model/LockState.h"

namespace orvane::control {

class ParameterPath;

namespace PathLocks {

bool isLocked(const ParameterPath& path, const LockState& locks);

// "in.B.eq is locked on the device", or empty when `function` (a path or the
// start of one) may change.
std::string refusal(std::string_view function, const LockState& locks);

}  // namespace PathLocks

}  // namespace orvane::control
