#pragma once

// Text between the program's UTF-8 and the UTF-16 of the Windows calls.

#include <string>
#include <string_view>

namespace orvane {

std::wstring wideText(std::string_view utf8);
std::string utf8Text(std::wstring_view wide);

}  // namespace orvane
