// The editor's core against orvane-sim, a separate program, over the
// network link and over the RS-485 bus, with every tenth reply corrupted
// and every hundredth dropped while random edits go on. When the edits
// stop, the simulated device, the editor's device copy and its edited image
// hold the same channel blocks, byte for byte: no edit was lost on the way.
// The simulator is also killed in the middle of edits and started again
// from its state file: the editor reports the lost link once, and the full
// read after reconnecting makes the editor hold what the device holds.
//
// ORVANE_SOAK_SECONDS sets how long each test runs (8 s by default),
// ORVANE_SOAK_SEED the seed of the edits (random by default; printed).
// Every wait is bounded; a watchdog ends a run that hangs anyway.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include "RandomEdits.h"
#include "SoakDevice.h"
#include "Watchdog.h"
#include "editor/EditorSession.h"
#include "platform/ParseNumber.h"
#include "support/SameBlocks.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// How long a link waits for a reply before it asks again. The device's own
// time-outs (1 to 3 s) would make every dropped reply a long pause; here a
// reply comes within milliseconds unless it was dropped.
constexpr auto kReplyPatience = 400ms;
// The longest the editor may take to connect, to read the device or to get
// every edit onto it, even under ThreadSanitizer on a busy machine.
constexpr auto kPatience = std::chrono::seconds(60);
// Edits between two kills of the device, and the burst of edits that is on
// its way when the device dies.
constexpr auto kEditingBetweenKills = 2s;
constexpr int kBurstEdits = 40;

int environmentNumber(const char* name, int fallback, int highest) {
  const char* text = std::getenv(name);
  if (!text) return fallback;
  return parseNumber(text, 1, highest).value_or(fallback);
}

std::chrono::seconds soakDuration() {
  return std::chrono::seconds(environmentNumber("ORVANE_SOAK_SECONDS", 8, 7 * 24 * 3600));
}

std::uint32_t soakSeed() {
  static const std::uint32_t seed = [] {
    const int chosen = environmentNumber("ORVANE_SOAK_SEED", 0, INT32_MAX);
    return chosen > 0 ? static_cast<std::uint32_t>(chosen) : std::random_device{}() % INT32_MAX + 1;
  }();
  return seed;
}

Timings soakTimings() {
  Timings timings = editor::EditorSession::defaultTimings();
  timings.netReceiveTimeout = kReplyPatience;
  timings.serialOther = kReplyPatience;
  timings.serialSynced = kReplyPatience;
  timings.serialTransferSynced = kReplyPatience;
  timings.serialTransferAwaiting = kReplyPatience;
  timings.serialTransferOther = kReplyPatience;
  return timings;
}

const char* linkName(LinkType link) {
  return link == LinkType::Serial ? "serial" : "network";
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// One 8-byte row of a channel block.
using RowId = std::tuple<Side, int, int>;

void addChangedRows(const BlockSet& before, const BlockSet& after, std::set<RowId>& rows) {
  for (Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      for (int row = 0; row < rowCount(side); ++row)
        if (!std::ranges::equal(before.row(side, channel, row), after.row(side, channel, row)))
          rows.insert({side, channel, row});
}

// The rows of `actual` and `expected` outside `skipped` are equal.
::testing::AssertionResult sameRowsApartFrom(const BlockSet& actual, const BlockSet& expected,
                                             const std::set<RowId>& skipped) {
  for (Side side : {Side::Input, Side::Output}) {
    for (int channel = 0; channel < kChannels; ++channel) {
      for (int row = 0; row < rowCount(side); ++row) {
        if (skipped.contains({side, channel, row}) ||
            std::ranges::equal(actual.row(side, channel, row), expected.row(side, channel, row)))
          continue;
        return ::testing::AssertionFailure()
               << (side == Side::Input ? "input " : "output ") << channel << " row " << row << " differs";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

class FaultSoak : public ::testing::TestWithParam<LinkType> {
 protected:
  FaultSoak()
      : device_(GetParam(), dir_.file("device.bin")),
        edits_(soakSeed() + static_cast<std::uint32_t>(GetParam())),
        watchdog_(soakDuration() * 2 + std::chrono::seconds(180)) {
    std::printf("soak %s: seed %u (ORVANE_SOAK_SEED repeats the edits)\n", linkName(GetParam()), soakSeed());
  }

  // Starts the device and connects the editor to it, with the full read.
  void connect() {
    watchdog_.step("starting the device");
    ASSERT_TRUE(device_.start());
    watchdog_.step("connecting and reading the device");
    ASSERT_EQ(session_.open(device_.target(), kPatience), "");
  }

  void editFor(std::chrono::seconds duration) {
    watchdog_.step("editing");
    const auto until = Clock::now() + duration;
    while (Clock::now() < until) {
      edits_.makeOne(session_.image());
      std::this_thread::sleep_for(edits_.pause());
    }
  }

  void settle() {
    watchdog_.step("waiting until every edit is on the device");
    ASSERT_EQ(session_.settle(kPatience), "");
  }

  BlockSet blocks(Copy copy) {
    return session_.image().read([copy](const ImageData& d) { return d.blocks(copy == Copy::Device); });
  }

  // The editor's image and device copy against the state the device saved.
  void expectEditorHolds(const DeviceData& device, const char* when) {
    EXPECT_TRUE(sameBlocks(blocks(Copy::Edited), device.working)) << "edited image " << when;
    EXPECT_TRUE(sameBlocks(blocks(Copy::Device), device.working)) << "device copy " << when;
  }

  // Ends the run: every edit on the device, the editor disconnected, the
  // device stopped; then its saved state must be what the editor edited.
  void finish() {
    ASSERT_NO_FATAL_FAILURE(settle());
    EXPECT_EQ(session_.sinceOpen(Message::LinkLost), 0);
    const BlockSet edited = blocks(Copy::Edited);
    EXPECT_TRUE(sameBlocks(blocks(Copy::Device), edited)) << "device copy against the edited image";
    watchdog_.step("disconnecting");
    session_.close();
    watchdog_.step("stopping the device");
    ASSERT_TRUE(device_.stop());
    const std::optional<DeviceData> saved = device_.savedState();
    ASSERT_TRUE(saved);
    equal_ = sameBlocks(saved->working, edited);
    EXPECT_TRUE(equal_) << "the device against the edited image";
  }

  void report(Clock::time_point start) const {
    const DeviceResponder::Counts& counts = device_.counts();
    std::printf(
        "soak %s: %.1f s, %d edits, %ld replies (%ld corrupted, %ld dropped) in the runs stopped normally, "
        "%d kills and reconnects, final equality %s\n",
        linkName(GetParam()), secondsSince(start), edits_.made(), counts.replies, counts.corrupted,
        counts.dropped, reconnects_, equal_ ? "yes" : "NO");
  }

  // Edits a while, waits until the device holds the edits in its saved
  // state, makes a burst of edits and kills the device while they are on
  // their way. The loss must be reported once; the rows the burst left
  // alone must be saved as they were; after the device is started again
  // from its state, the full read must make the editor hold that state.
  void killAndReconnect() {
    ASSERT_NO_FATAL_FAILURE(editFor(kEditingBetweenKills));
    ASSERT_NO_FATAL_FAILURE(settle());
    const BlockSet settled = blocks(Copy::Edited);
    watchdog_.step("waiting for the device to save its state");
    const auto saveDeadline = Clock::now() + 10s;
    while (Clock::now() < saveDeadline) {
      const std::optional<DeviceData> saved = device_.savedState();
      if (saved && saved->working == settled) break;
      std::this_thread::sleep_for(50ms);
    }
    ASSERT_TRUE(device_.savedState() && device_.savedState()->working == settled)
        << "the device did not save the edits it took";

    std::set<RowId> burstRows;
    for (int n = 0; n < kBurstEdits; ++n) {
      const BlockSet before = blocks(Copy::Edited);
      edits_.makeOne(session_.image());
      addChangedRows(before, blocks(Copy::Edited), burstRows);
    }
    device_.kill();
    watchdog_.step("waiting for the lost link");
    const auto lostDeadline = Clock::now() + kPatience;
    while (session_.sinceOpen(Message::LinkLost) == 0 && Clock::now() < lostDeadline)
      std::this_thread::sleep_for(5ms);
    ASSERT_EQ(session_.sinceOpen(Message::LinkLost), 1) << "the lost link was not reported";
    // Long enough for every retry of every link to have run out.
    std::this_thread::sleep_for(3 * kReplyPatience + 1s);
    EXPECT_EQ(session_.sinceOpen(Message::LinkLost), 1) << "the lost link was reported more than once";
    watchdog_.step("disconnecting after the lost link");
    session_.close();
    EXPECT_EQ(session_.sinceOpen(Message::LinkLost), 1) << "disconnecting reported the loss again";

    const std::optional<DeviceData> saved = device_.savedState();
    ASSERT_TRUE(saved);
    EXPECT_TRUE(sameRowsApartFrom(saved->working, settled, burstRows))
        << "rows no edit touched since the save";

    ASSERT_NO_FATAL_FAILURE(connect());
    ++reconnects_;
    expectEditorHolds(*saved, "after reconnecting");
  }

  ScratchDir dir_{"orvane-soak"};
  SoakDevice device_;
  RandomEdits edits_;
  Watchdog watchdog_;
  editor::EditorSession session_{soakTimings()};
  int reconnects_ = 0;
  bool equal_ = false;
};

TEST_P(FaultSoak, EveryEditReachesTheDeviceThroughCorruptAndDroppedReplies) {
  const auto start = Clock::now();
  ASSERT_NO_FATAL_FAILURE(connect());
  ASSERT_NO_FATAL_FAILURE(editFor(soakDuration()));
  ASSERT_NO_FATAL_FAILURE(finish());
  report(start);
  // The faults did happen, at their rates.
  const DeviceResponder::Counts& counts = device_.counts();
  EXPECT_GE(counts.dropped, 1);
  EXPECT_EQ(counts.corrupted, counts.replies / SoakDevice::kCorruptEvery - counts.dropped);
  EXPECT_EQ(counts.dropped, counts.replies / SoakDevice::kDropEvery);
}

TEST_P(FaultSoak, AKilledDeviceIsLostOnceAndTheFullReadTakesItsStateAfterRestarting) {
  const auto start = Clock::now();
  ASSERT_NO_FATAL_FAILURE(connect());
  do {
    ASSERT_NO_FATAL_FAILURE(killAndReconnect());
  } while (Clock::now() - start < soakDuration());
  ASSERT_NO_FATAL_FAILURE(editFor(kEditingBetweenKills));
  ASSERT_NO_FATAL_FAILURE(finish());
  report(start);
}

INSTANTIATE_TEST_SUITE_P(Links, FaultSoak, ::testing::Values(LinkType::Network, LinkType::Serial),
                         [](const auto& info) { return std::string(linkName(info.param)); });

}  // namespace

// Names the link in the test list.
static void PrintTo(LinkType link, std::ostream* out) {
  *out << linkName(link);
}

}  // namespace orvane
