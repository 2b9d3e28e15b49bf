#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "sim/DeviceState.h"
#include "sim/DeviceStateFile.h"
#include "sim/LevelMotion.h"
#include "sim/SimBus.h"
#include "sim/SimOptions.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

TEST(SimOptionsTest, DefaultsServeDeviceOneOnTheLoopbackPort) {
  SimOptions options;
  ASSERT_FALSE(SimOptions::parse({}, options));
  EXPECT_EQ(options.listenAddress, "127.0.0.1");
  EXPECT_EQ(options.listenPort, 8899);
  EXPECT_FALSE(options.serial);
  EXPECT_TRUE(options.deviceIds.empty());
  EXPECT_EQ(options.firmwareText(), DeviceState::factoryFirmware(ProductVariant::builtDefault()));
}

// The model chooses what a new device reports; --firmware overrides it.
TEST(SimOptionsTest, TheModelChoosesTheFirmwareReported) {
  const struct {
    std::vector<std::string> args;
    std::string firmware;
  } cases[] = {
      {{"--model", "7304"}, "J-DV1.20"},
      {{"--model", "736"}, "S-DV1.20"},
      {{"--model", "736", "--firmware", "S-DV0.90"}, "S-DV0.90"},
  };
  for (const auto& c : cases) {
    SimOptions options;
    ASSERT_FALSE(SimOptions::parse(c.args, options)) << c.firmware;
    EXPECT_EQ(options.firmwareText(), c.firmware);
  }
}

// A bare port listens on this computer only, as the default address does.
TEST(SimOptionsTest, ListenTakesAnAddressAPortOrBoth) {
  const struct {
    const char* text;
    const char* address;
    int port;
  } cases[] = {
      {"52130", "127.0.0.1", 52130},
      {":9000", "127.0.0.1", 9000},
      {"0.0.0.0", "0.0.0.0", 8899},
      {"127.0.0.2:0", "127.0.0.2", 0},
  };
  for (const auto& c : cases) {
    SimOptions options;
    ASSERT_FALSE(SimOptions::parse({"--listen", c.text}, options)) << c.text;
    EXPECT_EQ(options.listenAddress, c.address) << c.text;
    EXPECT_EQ(options.listenPort, c.port) << c.text;
  }
  EXPECT_NE(SimOptions::usage().find("serves one network link at a time"), std::string::npos);
}

TEST(SimOptionsTest, EveryOptionIsRead) {
  SimOptions options;
  ASSERT_FALSE(SimOptions::parse({"--listen",
                                  "127.0.0.1:0",
                                  "--id",
                                  "3",
                                  "--id",
                                  "17",
                                  "--firmware",
                                  "S-DV1.10",
                                  "--state",
                                  "dev.bin",
                                  "--moving-levels",
                                  "--corrupt-every",
                                  "5",
                                  "--drop-every",
                                  "7",
                                  "--delay-ms",
                                  "20",
                                  "--close-after",
                                  "9",
                                  "--fail-check"},
                                 options));
  EXPECT_EQ(options.listenPort, 0);
  EXPECT_EQ(options.deviceIds, (std::vector<int>{3, 17}));
  EXPECT_EQ(options.firmware, "S-DV1.10");
  EXPECT_EQ(options.stateFile, "dev.bin");
  EXPECT_TRUE(options.movingLevels);
  EXPECT_EQ(options.faults, (FaultPlan{5, 7, true}));
  EXPECT_EQ(options.replyDelayMs, 20);
  EXPECT_EQ(options.closeAfterFrames, 9);
}

// The RS-485 bus needs a pseudo-terminal: a build without them (Windows)
// refuses --serial by name instead of serving the network alone.
TEST(SimOptionsTest, SerialAsksForTheBusWhereTheBuildHasOne) {
  SimOptions options;
  const auto error = SimOptions::parse({"--serial"}, options);
  if (SimBus::unavailable().empty()) {
    EXPECT_FALSE(error);
    EXPECT_TRUE(options.serial);
  } else {
    EXPECT_EQ(error, std::string(SimBus::unavailable()));
    EXPECT_NE(SimBus::unavailable().find("network link only"), std::string::npos);
  }
}

TEST(SimOptionsTest, BadArgumentsAreNamed) {
  struct Case {
    std::vector<std::string> args;
    const char* error;
  };
  const std::vector<Case> cases{
      {{"--id", "251"}, "--id needs a number from 1 to 250"},
      {{"--id"}, "--id needs a number from 1 to 250"},
      {{"--listen", "127.0.0.1:x"}, "--listen needs ADDRESS:PORT, ADDRESS or PORT"},
      {{"--listen", "127.0.0.1:65536"}, "--listen needs ADDRESS:PORT, ADDRESS or PORT"},
      {{"--listen", ""}, "--listen needs ADDRESS:PORT, ADDRESS or PORT"},
      {{"--listen"}, "--listen needs ADDRESS:PORT, ADDRESS or PORT"},
      {{"--firmware", "far-too-long"}, "--firmware needs a version text of 1 to 8 characters"},
      {{"--firmware", ""}, "--firmware needs a version text of 1 to 8 characters"},
      {{"--state", ""}, "--state needs a file name"},
      {{"--state"}, "--state needs a file name"},
      {{"--corrupt-every", "0"}, "--corrupt-every needs a number from 1 to 1000000"},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--model", "S"}, "--model takes 7304 or 736, not 'S'"},
      {{"--model"}, "--model needs a model: 7304 or 736"},
  };
  for (const Case& c : cases) {
    SimOptions options;
    EXPECT_EQ(SimOptions::parse(c.args, options), c.error) << c.args[0];
  }
  SimOptions options;
  EXPECT_FALSE(SimOptions::parse({"--listen", "localhost", "-h"}, options));
  EXPECT_EQ(options.listenAddress, "localhost");
  EXPECT_TRUE(options.help);
  EXPECT_NE(SimOptions::usage().find("--close-after"), std::string::npos);
}

class DeviceStateFileTest : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(path.c_str()); }
  std::string path = ::testing::TempDir() + "orvane-sim-state.bin";
};

TEST_F(DeviceStateFileTest, EverythingAPreparedDeviceHoldsComesBack) {
  DeviceState device;
  device.modify([](DeviceData& d) {
    d.working.inputs[3][12] = 0x55;
    d.program(30)[ProgramRecordOffset::Name] = 'Z';
    d.workingLocks[0] = 0x08;
    d.setup[1] = 11;
    d.extended[22] = 1;
    d.startupProgram = 17;
    d.networkName = {'H', 'a', 'l', 'l'};
    d.deviceId = 42;
  });
  device.setFirmwareVersion("J-DV1.33");
  const DeviceData saved = device.read([](const DeviceData& d) { return d; });
  ASSERT_FALSE(DeviceStateFile::save(path, saved));

  DeviceData loaded;
  ASSERT_FALSE(DeviceStateFile::load(path, loaded));
  EXPECT_EQ(loaded.working, saved.working);
  EXPECT_EQ(loaded.programs, saved.programs);
  EXPECT_EQ(loaded.workingLocks, saved.workingLocks);
  EXPECT_EQ(loaded.setup, saved.setup);
  EXPECT_EQ(loaded.extended, saved.extended);
  EXPECT_EQ(loaded.startupProgram, 17);
  EXPECT_EQ(loaded.networkName, saved.networkName);
  EXPECT_EQ(loaded.firmwareVersion, saved.firmwareVersion);
  EXPECT_EQ(loaded.deviceId, 42);
}

TEST_F(DeviceStateFileTest, DamagedFilesAreRefusedAndChangeNothing) {
  DeviceData original;
  original.deviceId = 9;
  std::vector<std::uint8_t> bytes = DeviceStateFile::serialise(original);

  DeviceData target;
  target.startupProgram = 5;
  const std::vector<std::uint8_t> cut(bytes.begin(), bytes.end() - 3);
  EXPECT_TRUE(DeviceStateFile::parse(cut, target));
  std::vector<std::uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_TRUE(DeviceStateFile::parse(longer, target));
  std::vector<std::uint8_t> foreign = bytes;
  foreign[0] = 'X';
  EXPECT_EQ(DeviceStateFile::parse(foreign, target), "not a simulator state file");
  for (const std::uint8_t id : {0, 251}) {
    DeviceData wrongId;
    wrongId.deviceId = id;
    EXPECT_EQ(DeviceStateFile::parse(DeviceStateFile::serialise(wrongId), target),
              "the state file names no valid device ID");
  }
  EXPECT_EQ(target.startupProgram, 5);
  EXPECT_TRUE(DeviceStateFile::load(path + ".missing", target));
}

// A save that fails half way (a full disk) leaves the state saved before
// as it was, and no temporary file beside it.
TEST(LevelMotionTest, LevelsStayInTheirStepsAndReachTheTop) {
  bool clipped = false;
  for (long tick = 0; tick < 400; ++tick) {
    for (std::uint8_t level : LevelMotion::levelsAt(tick)) {
      const int step = level & 0x0F;
      ASSERT_LE(step, 8);
      EXPECT_EQ((level & 0x40) != 0, step == 8);
      clipped = clipped || step == 8;
    }
  }
  EXPECT_TRUE(clipped);
  EXPECT_NE(LevelMotion::levelsAt(0), LevelMotion::levelsAt(5));
}

}  // namespace
}  // namespace orvane
