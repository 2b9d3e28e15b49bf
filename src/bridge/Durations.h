#pragma once

// Durations as the bridge's log names them: whole seconds as "60 s", anything
// else (the short limits of tests) as "250 ms".

#include <chrono>
#include <string>

namespace orvane {

inline std::string describe(std::chrono::milliseconds duration) {
  if (duration.count() % 1000 == 0) return std::to_string(duration.count() / 1000) + " s";
  return std::to_string(duration.count()) + " ms";
}

}  // namespace orvane
