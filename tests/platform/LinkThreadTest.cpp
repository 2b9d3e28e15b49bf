#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/LinkThread.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// A body as the link threads have one: it serves its work event until
// interrupted, and counts the passes it made.
struct Body {
  Event work;
  Event served;
  std::atomic<int> runs{0};
  std::atomic<int> passes{0};

  void serve(const LinkThread& thread) {
    ++runs;
    for (;;) {
      const auto signalled = thread.wait({&work}, 1h);
      if (signalled == LinkThread::kInterrupted) return;
      work.reset();
      ++passes;
      served.set();
    }
  }
};

TEST(LinkThreadTest, ParksResumesAndStopsWithoutWaitingOutItsBody) {
  Body body;
  LinkThread thread([&] { body.serve(thread); });
  EXPECT_TRUE(thread.parked());
  body.work.set();
  EXPECT_FALSE(body.served.wait(50ms)) << "a parked thread ran its body";

  for (int cycle = 1; cycle <= 3; ++cycle) {
    body.served.reset();
    thread.resume();
    body.work.set();
    ASSERT_TRUE(body.served.wait(5s));
    EXPECT_FALSE(thread.parked());
    // The body waits for an hour; the park request ends that wait at once.
    EXPECT_TRUE(thread.park(5s));
    EXPECT_TRUE(thread.parked());
    EXPECT_FALSE(thread.interrupted()) << "a parked thread keeps its interruption";
    EXPECT_EQ(body.runs.load(), cycle);
  }
  thread.stop();
  thread.stop();
  thread.resume();
  EXPECT_TRUE(thread.park(0ms));
  EXPECT_EQ(body.runs.load(), 3) << "a stopped thread ran its body again";
}

TEST(LinkThreadTest, ParkingABodyThatIsHeldUpIsBounded) {
  Event release;
  Event started;
  LinkThread thread([&] {
    started.set();
    release.wait(1h);  // a step that does not look at the interruption
  });
  thread.resume();
  ASSERT_TRUE(started.wait(5s));
  EXPECT_FALSE(thread.park(20ms));
  EXPECT_FALSE(thread.parked());
  release.set();
  EXPECT_TRUE(thread.park(5s));
  EXPECT_TRUE(thread.parked());
}

}  // namespace
}  // namespace orvane
