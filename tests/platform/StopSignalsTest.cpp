#include <gtest/gtest.h>

#include "StopRequest.h"
#include "platform/StopSignals.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// A program waiting for the end of its service is woken by a stop request
// and by nothing else, whether it waits with a time-out, polls the
// descriptor beside its sockets, or waits for good; and the request no
// longer ends the program on the spot.
TEST(StopSignalsTest, AStopRequestWakesEveryWayOfWaitingAndOnlyIt) {
  StopSignals stop;
  const int descriptor = stop.descriptor();
  EXPECT_FALSE(stop.waitFor(20ms));
  EXPECT_FALSE(stopDescriptorReady(descriptor, 0ms));
  requestStop();
  EXPECT_TRUE(stopDescriptorReady(descriptor, 5s));
  EXPECT_TRUE(stop.waitFor(5s));
  EXPECT_TRUE(stop.waitFor(0ms));
  stop.wait();
}

}  // namespace
}  // namespace orvane
