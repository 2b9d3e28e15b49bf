#pragma once

// The level meters of a connected device, asked for afresh.

#include <chrono>

#include "control/MeterLevels.h"
#include "editor/EditorSession.h"

namespace orvane::cli::Meters {

// Asks the device for new levels and waits up to `wait` for them; the last
// ones stand when the device sent the same again.
control::MeterLevels freshLevels(editor::EditorSession& session, std::chrono::milliseconds wait);

}  // namespace orvane::cli::Meters
