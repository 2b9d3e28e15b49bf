#pragma once

// What the network name field takes: the device's network module accepts
// names of the letters A-Z and a-z and the digits 0-9 only, at most 255 of
// them. Blanks, punctuation and double-byte characters are refused.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane::NetworkNameFilter {

inline constexpr std::size_t kMaxLength = 255;

// Whether a typed character (a Unicode code point) may go into the name.
bool isAllowed(char32_t character);
// The allowed characters of a pasted UTF-8 text, in order, at most
// kMaxLength of them. (UTF-8 never uses ASCII bytes inside a multi-byte
// character, so the bytes of other characters all drop out.)
std::string keepAllowed(std::string_view utf8);

}  // namespace orvane::NetworkNameFilter
