#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "DescriptorReadable.h"
#include "platform/Event.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(EventTest, FollowsSetAndReset) {
  Event event;
  EXPECT_FALSE(event.isSet());
  EXPECT_FALSE(descriptorReadable(event));

  event.set();
  EXPECT_TRUE(event.isSet());
  EXPECT_TRUE(descriptorReadable(event));

  event.reset();
  EXPECT_FALSE(event.isSet());
  EXPECT_FALSE(descriptorReadable(event));
}

TEST(EventTest, OneResetUndoesSeveralSets) {
  // Closing a link sets the reply event over and over until the worker is
  // parked; one reset must still leave it unsignalled for the next exchange.
  Event event;
  event.set();
  event.set();
  event.set();
  event.reset();
  EXPECT_FALSE(event.isSet());
  EXPECT_FALSE(event.wait(0ms));
}

TEST(EventTest, ResetOfAnUnsetEventReturnsAtOnce) {
  Event event;
  const auto start = Clock::now();
  event.reset();
  event.reset();
  EXPECT_LT(Clock::now() - start, 1s);
  EXPECT_FALSE(event.isSet());
  event.set();
  EXPECT_TRUE(event.isSet());
}

TEST(EventTest, StaysSetUntilReset) {
  Event event;
  event.set();
  EXPECT_TRUE(event.wait(0ms));
  EXPECT_TRUE(event.wait(10ms));
  EXPECT_EQ(waitAny({&event}, 0ms), 0u);
  EXPECT_TRUE(event.isSet());
}

TEST(EventTest, WakesEveryWaiter) {
  Event event;
  constexpr int kWaiters = 4;
  std::atomic<int> woken{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < kWaiters; ++i)
    waiters.emplace_back([&] {
      if (event.wait(10s)) ++woken;
    });
  std::this_thread::sleep_for(20ms);
  event.set();
  for (auto& t : waiters) t.join();
  EXPECT_EQ(woken.load(), kWaiters);
  EXPECT_TRUE(event.isSet());
}

class WaitAnyTest : public ::testing::Test {
 protected:
  std::array<Event, 5> events;
  std::array<const Event*, 5> all{&events[0], &events[1], &events[2], &events[3], &events[4]};
};

TEST_F(WaitAnyTest, ReturnsTheLowestSetIndex) {
  events[4].set();
  EXPECT_EQ(waitAny(all, 0ms), 4u);
  events[3].set();
  EXPECT_EQ(waitAny(all, 0ms), 3u);
  events[0].set();
  EXPECT_EQ(waitAny(all, 0ms), 0u);
  events[0].reset();
  EXPECT_EQ(waitAny(all, 0ms), 3u);
  events[3].reset();
  EXPECT_EQ(waitAny(all, 0ms), 4u);
}

TEST_F(WaitAnyTest, TimesOutWhenNothingIsSet) {
  EXPECT_EQ(waitAny(all, 0ms), std::nullopt);

  const auto start = Clock::now();
  const auto woken = waitAny(all, 100ms);
  const auto elapsed = Clock::now() - start;
  EXPECT_EQ(woken, std::nullopt);
  EXPECT_GE(elapsed, 100ms);
  EXPECT_LT(elapsed, 2s);
}

TEST_F(WaitAnyTest, SetFromAnotherThreadWakesTheWaiter) {
  std::thread setter([&] {
    std::this_thread::sleep_for(50ms);
    events[2].set();
  });
  const auto start = Clock::now();
  const auto woken = waitAny(all, 10s);
  const auto elapsed = Clock::now() - start;
  setter.join();
  EXPECT_EQ(woken, 2u);
  EXPECT_LT(elapsed, 5s);
}

TEST_F(WaitAnyTest, WaiterSeesWhatTheSetterWroteBeforeSetting) {
  // The transport fills the receive frame, then sets the reply event; the
  // worker reads the frame after its wait. Plain data, no other lock.
  int written = 0;
  std::thread setter([&] {
    written = 42;
    events[1].set();
  });
  ASSERT_EQ(waitAny(all, 10s), 1u);
  EXPECT_EQ(written, 42);
  setter.join();
}

// The hand-over of every exchange between the worker and a transport: each
// side sets the other's event and resets its own. Not one wake-up may be
// lost, whether the waiter is already asleep or about to be.
TEST(EventTest, NoWakeUpIsLostInAnEndlessHandOver) {
  constexpr int kRounds = 20000;
  Event toWorker, toTransport;
  std::atomic<int> served{0};
  std::thread transport([&] {
    for (int n = 0; n < kRounds; ++n) {
      if (!toTransport.wait(10s)) return;
      toTransport.reset();
      ++served;
      toWorker.set();
    }
  });
  int answered = 0;
  for (; answered < kRounds; ++answered) {
    toWorker.reset();
    toTransport.set();
    if (!toWorker.wait(10s)) break;
  }
  transport.join();
  EXPECT_EQ(answered, kRounds);
  EXPECT_EQ(served.load(), kRounds);
}

}  // namespace
}  // namespace orvane
