#include "model/NetworkNameFilter.h"

namespace orvane::NetworkNameFilter {

bool isAllowed(char32_t c) {
  return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9');
}

std::string keepAllowed(std::string_view utf8) {
  std::string kept;
  for (char c : utf8) {
    if (kept.size() == kMaxLength) break;
    if (isAllowed(static_cast<unsigned char>(c))) kept.push_back(c);
  }
  return kept;
}

}  // namespace orvane::NetworkNameFilter
