#include "support/SameBlocks.h"

#include <algorithm>

namespace orvane {

::testing::AssertionResult sameBlocks(const BlockSet& actual, const BlockSet& expected) {
  for (Side side : {Side::Input, Side::Output}) {
    for (int channel = 0; channel < kChannels; ++channel) {
      const auto a = actual.block(side, channel);
      const auto e = expected.block(side, channel);
      const auto [at, _] = std::ranges::mismatch(a, e);
      if (at == a.end()) continue;
      const auto offset = at - a.begin();
      return ::testing::AssertionFailure()
             << (side == Side::Input ? "input " : "output ") << channel << " differs at byte " << offset
             << ": " << int{*at} << " where " << int{e[static_cast<std::size_t>(offset)]} << " was expected";
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace orvane
