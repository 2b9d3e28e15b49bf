#pragma once

// Which function lock guards a parameter path, as the editor disables the
// control of a locked function: the lock of the inputs' or the outputs'
// gain, EQ, dynamics and so on, the matrix, the master sections and the
// settings. As in the editor and the report, a locked parameter is neither
// changed nor shown.

#include <optional>
#include <string>
#include <string_view>

#include "model/LockState.h"

namespace orvane::control {

class ParameterPath;

namespace PathLocks {

// The lock flag of `path`; nothing for a path no lock guards.
std::optional<int> flagOf(const ParameterPath& path);
// The same for a function named by the start of its paths ("in.B.eq").
std::optional<int> flagOf(std::string_view function);

bool isLocked(const ParameterPath& path, const LockState& locks);

// "in.A.gain is locked on the device", or empty when `path` may change.
std::string refusal(const ParameterPath& path, const LockState& locks);
// "in.B.eq is locked on the device", or empty when `function` may change.
std::string refusal(std::string_view function, const LockState& locks);

}  // namespace PathLocks

}  // namespace orvane::control
