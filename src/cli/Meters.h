#pragma once

// The level meters of a connected device, asked for afresh.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "cli/Outcome.h"
#include "control/MeterLevels.h"
#include "editor/EditorSession.h"

namespace orvane::cli::Meters {

// At most twenty lines a second while watching.
constexpr auto kWatchPeriod = std::chrono::milliseconds(50);

// A usage error unless `args` of the meters command are none or --watch.
std::optional<Outcome> watchRefusal(const std::vector<std::string>& args);

// Asks the device for new levels and waits up to `wait` for them; the last
// ones stand when the device sent the same again.
control::MeterLevels freshLevels(editor::EditorSession& session, std::chrono::milliseconds wait);

}  // namespace orvane::cli::Meters
