// The control page in a real browser: Debian's Chromium, driven headless by
// tests/browser/control-page.mjs against orvane-server and the simulated
// device. What the page did must be in the device's state afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

#include "LockedDevice.h"
#include "model/ChannelRecords.h"
#include "sim/DeviceStateFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

TEST(ControlPage, APersonInTheRoomChangesTheLevelAndMutesAMicrophone) {
  ScratchDir dir{"control-page"};
  const std::string stateFile = dir.file("device.bin");
  ASSERT_TRUE(writeLockedDevice(stateFile, {LockFlag::InputGain}));

  SimulatorProcess sim({"--state", stateFile, "--moving-levels"});
  ChildProcess server(ORVANE_SERVER_PATH, {"--connect", "net:" + sim.address(), "--listen", "127.0.0.1:0",
                                           "--code", "room-4711"});
  const auto started = server.readLine(10s);
  ASSERT_TRUE(started && started->find("http://127.0.0.1:") != std::string::npos);
  const std::size_t at = started->find("http://");
  const std::string url = started->substr(at, started->find(' ', at) - at);
  const std::string shots = std::filesystem::current_path().string();
  const ChildProcess::Result run =
      ChildProcess::run(NODE_PATH, {BROWSER_TEST_DIR "/control-page.mjs"}, "",
                        {"ORVANE_PAGE_URL=" + url, "ORVANE_CODE=room-4711", "ORVANE_SHOTS=" + shots}, 120s);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  std::cout << "control page: " << run.out;  // load and level times, for the record

  server.terminate();
  sim.finish();
  DeviceData device;
  ASSERT_FALSE(DeviceStateFile::load(stateFile, device));
  for (int output = 0; output < kChannels; ++output)  // 0.1 dB, 0 dB at 600
    EXPECT_EQ(readField(device.working.block(Side::Output, output), CommonField::Allvolume), 400);
  EXPECT_EQ(readField(device.working.block(Side::Input, 0), CommonField::Mute), 0);  // 1 while it sounds
}

}  // namespace
}  // namespace orvane
