#include "bridge/AllowList.h"

#include <algorithm>
#include <string>

#include "platform/ParseNumber.h"
#include "platform/Socket.h"

namespace orvane {

std::optional<AllowList::Rule> AllowList::parseRule(std::string_view text) {
  const auto slash = text.find('/');
  const std::string address(text.substr(0, slash));
  in_addr parsed{};
  if (!sockets::parseIpv4(address, parsed)) return std::nullopt;
  int bits = 32;
  if (slash != std::string_view::npos) {
    const auto given = parseNumber(text.substr(slash + 1), 0, 32);
    if (!given) return std::nullopt;
    bits = *given;
  }
  const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
  return Rule{ntohl(parsed.s_addr) & mask, mask};
}

bool AllowList::permits(const in_addr& address) const {
  const std::uint32_t host = ntohl(address.s_addr);
  return rules_.empty() ||
         std::ranges::any_of(rules_, [host](const Rule& rule) { return (host & rule.mask) == rule.network; });
}

}  // namespace orvane
