#pragma once

// The sixteen level meters of a connected device as the tools show them:
// read from the image, asked for afresh, as a line of lamps or as JSON.

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "cli/Outcome.h"
#include "editor/EditorSession.h"

namespace orvane::cli::Meters {

using editor::EditorSession;

struct Levels {
  std::array<std::uint8_t, 8> inputs{};
  std::array<std::uint8_t, 8> outputs{};
  friend bool operator==(const Levels&, const Levels&) = default;
};

// The levels the image holds now.
Levels readLevels(const ParameterImage& image);
// Asks the device for new levels and waits up to `wait` for them; the last
// ones stand when the device sent the same again.
Levels freshLevels(EditorSession& session, std::chrono::milliseconds wait);
// One line: inputs A..H, then outputs 1..8, eight lamps each.
std::string meterLine(const Levels& levels);
// {"inputs": [{"level": 0..8, "indicators": 0..7} ×8], "outputs": [...]}
Json meterJson(const Levels& levels);

}  // namespace orvane::cli::Meters
