// orvane-sim as a program: its first use of a state file starts a new one
// from the factory state (and says so) instead of failing to read it, and
// saves it at exit.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

TEST(SimProgram, AStateFileNotThereYetIsStartedAfresh) {
  ScratchDir dir("sim-state");
  const std::string file = dir.file("room.bin");
  SimulatorProcess sim({"--state", file});
  ASSERT_TRUE(sim.started());
  const ChildProcess::Result result = sim.finish();
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.err,
              testing::HasSubstr("starting a new state file " + file + " from the factory state"));
  EXPECT_THAT(result.err, testing::Not(testing::HasSubstr("cannot read")));
  EXPECT_TRUE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace orvane
