#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>

#include "platform/StopSignals.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// A program waiting for the end of its service is woken by Ctrl+C or a
// service manager's SIGTERM, and by nothing else, whether it waits with a
// time-out, for good or beside its own events; the signal no longer ends
// the program on the spot. One that ends without a request lets go of its
// watch, and the next one still hears the signals.
TEST(StopSignalsTest, EachStopRequestWakesTheWaitAndOnlyIt) {
  { StopSignals idle; }
  for (int signal : {SIGINT, SIGTERM}) {
    StopSignals stop;
    EXPECT_FALSE(stop.waitFor(20ms)) << signal;
    EXPECT_FALSE(stop.event().isSet()) << signal;
    ::kill(::getpid(), signal);
    ASSERT_TRUE(stop.waitFor(5s)) << signal;
    EXPECT_TRUE(stop.event().isSet()) << signal;
    stop.wait();
  }
}

}  // namespace
}  // namespace orvane
