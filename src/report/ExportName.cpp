#include "report/ExportName.h"

#include <array>
#include <cstdio>

namespace orvane::ExportName {

std::string propose(const std::tm& t, std::string_view extension) {
  std::array<char, 32> digits{};
  std::snprintf(digits.data(), digits.size(), "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return std::string(digits.data()) + std::string(extension);
}

}  // namespace orvane::ExportName
