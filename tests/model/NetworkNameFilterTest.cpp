#include <gtest/gtest.h>

#include "model/NetworkNameFilter.h"

namespace orvane {
namespace {

TEST(NetworkNameFilter, OnlyLettersAndDigitsUpTo255) {
  for (char32_t c : {U'A', U'Z', U'a', U'z', U'0', U'9'}) EXPECT_TRUE(NetworkNameFilter::isAllowed(c));
  for (char32_t c : {U' ', U'-', U'_', U'.', U'@', U'\b', U'\0', U'\u00E9', U'\u4F1A', U'\uFF21'})
    EXPECT_FALSE(NetworkNameFilter::isAllowed(c)) << static_cast<std::uint32_t>(c);

  EXPECT_EQ(NetworkNameFilter::keepAllowed(" Hall-2 会议室 B!\n"), "Hall2B");
  EXPECT_EQ(NetworkNameFilter::keepAllowed(""), "");
  const std::string pasted = std::string(200, 'a') + "-- " + std::string(100, 'b');
  EXPECT_EQ(NetworkNameFilter::keepAllowed(pasted), std::string(200, 'a') + std::string(55, 'b'));
}

}  // namespace
}  // namespace orvane
