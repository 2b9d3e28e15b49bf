#pragma once

// The clients the bridge lets in: IPv4 addresses or networks given as
// "a.b.c.d" or "a.b.c.d/bits". An empty list lets every client in.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Socket.h"

namespace orvane {

class AllowList {
 public:
  struct Rule {
    std::uint32_t network = 0;  // host byte order, host bits cleared
    std::uint32_t mask = 0;
  };

  // Nothing when `text` is not an address or address/bits with bits 0..32.
  static std::optional<Rule> parseRule(std::string_view text);

  void add(const Rule& rule) { rules_.push_back(rule); }
  bool empty() const { return rules_.empty(); }
  bool permits(const in_addr& address) const;

 private:
  std::vector<Rule> rules_;
};

}  // namespace orvane
