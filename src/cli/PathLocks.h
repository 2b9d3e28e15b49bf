#pragma once

// Which function lock guards a parameter path, as the editor disables the
// control of a locked function: the lock of the inputs' or the outputs'
// gain, EQ, dynamics and so on, the matrix, the master sections and the
// settings. Locked parameters are shown but not changed.

#include <optional>
#include <string>

#include "model/LockState.h"

namespace orvane::cli {

class ParameterPath;

namespace PathLocks {

// The lock flag of `path`; nothing for a path no lock guards.
std::optional<int> flagOf(const ParameterPath& path);

// "in.A.gain is locked on the device", or empty when `path` may change.
std::string refusal(const ParameterPath& path, const LockState& locks);

}  // namespace PathLocks

}  // namespace orvane::cli
