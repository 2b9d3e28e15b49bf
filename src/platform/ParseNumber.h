#pragma once

// Whole numbers typed on a command line: the entire text must be the number
// and lie in [lowest, highest].

#include <charconv>
#include <optional>
#include <string_view>

namespace orvane {

inline std::optional<int> parseNumber(std::string_view text, int lowest, int highest) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < lowest || value > highest)
    return std::nullopt;
  return value;
}

}  // namespace orvane
