#pragma once

// The rules of the lock password: six letters or digits, compared case by
// case. Comparisons look at every character whatever the first difference,
// so how long they take tells nothing about the password.

#include <string_view>

namespace orvane::Password {

inline constexpr std::size_t kLength = 6;

// 0-9, A-Z and a-z.
bool isAllowed(char32_t character);

// `entry` is the password `stored`.
bool matches(std::string_view entry, std::string_view stored);

// Two entries that may become the new password: both six allowed
// characters, and the same.
bool acceptable(std::string_view first, std::string_view second);

}  // namespace orvane::Password
