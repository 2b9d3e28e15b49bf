#include "model/Password.h"

#include <algorithm>

namespace orvane::Password {

bool isAllowed(char32_t character) {
  return (character >= U'0' && character <= U'9') || (character >= U'A' && character <= U'Z') ||
         (character >= U'a' && character <= U'z');
}

bool matches(std::string_view entry, std::string_view stored) {
  // Every position up to the longer text is compared; the lengths count too.
  const std::size_t length = std::max(entry.size(), stored.size());
  unsigned difference = entry.size() == stored.size() ? 0u : 1u;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char a = i < entry.size() ? static_cast<unsigned char>(entry[i]) : 0;
    const unsigned char b = i < stored.size() ? static_cast<unsigned char>(stored[i]) : 0;
    difference |= static_cast<unsigned>(a ^ b);
  }
  return difference == 0;
}

bool acceptable(std::string_view first, std::string_view second) {
  const bool allowed =
      std::ranges::all_of(first, [](char c) { return isAllowed(static_cast<unsigned char>(c)); });
  return first.size() == kLength && allowed && matches(first, second);
}

}  // namespace orvane::Password
