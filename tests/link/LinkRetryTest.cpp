#include <gtest/gtest.h>

#include "link/LinkRetry.h"

namespace orvane {
namespace {

using State = LinkRetry::State;
using namespace std::chrono_literals;

// Each change of a kept link in turn, whether it is told, and when the link
// is opened again.
TEST(LinkRetry, EachChangeIsToldOnceAndAClosedLinkIsOpenedAgainAPauseLater) {
  struct Step {
    State state;
    const char* error;
    bool told;
  };
  const Step steps[] = {
      {State::Lost, "nothing answers", true},    // the first open failed
      {State::Lost, "nothing answers", false},   // and again the same way
      {State::Lost, "permission denied", true},  // a new reason is news
      {State::Open, "", true},                   //
      {State::Lost, "", true},                   // lost after it was open
      {State::Lost, "nothing answers", true},    // the open after a loss failed
      {State::Open, "", true},                   //
      {State::Connecting, "", true},             //
  };
  LinkRetry retry(2s);
  const auto start = LinkRetry::Clock::time_point{} + 1h;
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const auto now = start + static_cast<int>(i) * 10s;
    EXPECT_EQ(retry.change(steps[i].state, steps[i].error, now), steps[i].told) << "step " << i;
    EXPECT_EQ(retry.nextOpen(),
              steps[i].state == State::Open ? LinkRetry::Clock::time_point::max() : now + 2s)
        << "step " << i;
  }
}

}  // namespace
}  // namespace orvane
