#pragma once

// The sixteen level meters of a connected device as the image holds them,
// and as the front-ends show them: a line of lamps or JSON.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "control/DeviceJson.h"
#include "model/ParameterImage.h"

namespace orvane::control {

struct MeterLevels {
  std::array<std::uint8_t, 8> inputs{};
  std::array<std::uint8_t, 8> outputs{};

  // The levels the image holds now.
  static MeterLevels read(const ParameterImage& image);
  // One line: inputs A..H, then outputs 1..8, eight lamps each.
  std::string line() const;
  // {"inputs": [{"level": 0..8, "indicators": 0..7} ×8], "outputs": [...]}
  Json json() const;
  // The levels json() gave, as a client of the server reads them; nothing
  // when `json` holds no such levels.
  static std::optional<MeterLevels> fromJson(const Json& json);

  friend bool operator==(const MeterLevels&, const MeterLevels&) = default;
};

}  // namespace orvane::control
