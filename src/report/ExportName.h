#pragma once

// The file name an export proposes: the local time as fourteen digits
// (year, month, day, hour, minute, second), then the extension.

#include <ctime>
#include <string>
#include <string_view>

namespace orvane::ExportName {

std::string propose(const std::tm& localTime, std::string_view extension);

}  // namespace orvane::ExportName
