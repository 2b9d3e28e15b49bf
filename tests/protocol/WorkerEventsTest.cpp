#include <gtest/gtest.h>

#include <chrono>

#include "protocol/WorkerEvents.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

TEST(WorkerEventsTest, QueuedFramesAreServedBeforeIdleWork) {
  WorkerEvents events;
  const auto all = events.all();
  EXPECT_EQ(waitAny(all, 0ms), std::nullopt);

  events[WorkerEvent::Run].set();
  EXPECT_EQ(waitAny(all, 0ms), 2u);
  events[WorkerEvent::QueueNotEmpty].set();
  EXPECT_EQ(waitAny(all, 0ms), 1u);
  events[WorkerEvent::Wake].set();
  EXPECT_EQ(waitAny(all, 0ms), 0u);
}

}  // namespace
}  // namespace orvane
