// The control page in a real browser: Debian's Chromium, driven headless by
// tests/browser/control-page.mjs against orvane-server and the simulated
// device; the server is stopped while the page is open and started again on
// the same port with another code. What the page did must be in the
// device's state afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>

#include "LockedDevice.h"
#include "model/ChannelRecords.h"
#include "model/NameField.h"
#include "sim/DeviceStateFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Program 2 holds the working state, locks included, as "Lecture": recalling
// it changes only the current program.
bool storeWorkingAsProgram2(const std::string& stateFile) {
  DeviceData device;
  if (DeviceStateFile::load(stateFile, device)) return false;
  ProgramRecord& record = device.program(2);
  for (int channel = 0; channel < kChannels; ++channel)
    for (const Side side : {Side::Input, Side::Output})
      std::ranges::copy(device.working.block(side, channel), recordBlock(record, side, channel).begin());
  NameField::TextToField("Lecture", recordName(record));
  std::ranges::copy(device.workingLocks, recordLockPacket(record).begin());
  return !DeviceStateFile::save(stateFile, device);
}

// orvane-server at `address` with `code`, and the URL it serves; tried for a
// few seconds while the server before still holds the port.
std::pair<std::unique_ptr<ChildProcess>, std::string> startServer(const std::string& device,
                                                                  const std::string& address,
                                                                  const std::string& code,
                                                                  const std::vector<std::string>& more = {}) {
  std::vector<std::string> args{"--connect", device, "--listen", address, "--code", code};
  args.insert(args.end(), more.begin(), more.end());
  for (int attempt = 0; attempt < 20; std::this_thread::sleep_for(250ms), ++attempt) {
    auto server = std::make_unique<ChildProcess>(ORVANE_SERVER_PATH, args);
    const auto line = server->readLine(10s);
    if (const std::size_t at = line ? line->find("http://") : std::string::npos; at != std::string::npos)
      return {std::move(server), line->substr(at, line->find(' ', at) - at)};
  }
  return {};
}

// Waits for the browser test to print `word` on a line of its own.
bool heard(ChildProcess& browser, const std::string& word) {
  for (auto line = browser.readLine(120s); line; line = browser.readLine(120s))
    if (*line == word) return true;
  return false;
}

TEST(ControlPage, APersonInTheRoomChangesTheLevelAndMutesThroughALostConnection) {
  ScratchDir dir{"control-page"};
  const std::string stateFile = dir.file("device.bin");
  ASSERT_TRUE(writeLockedDevice(stateFile, {LockFlag::InputGain}));
  ASSERT_TRUE(storeWorkingAsProgram2(stateFile));

  SimulatorProcess sim({"--state", stateFile, "--moving-levels"});
  const std::string device = "net:" + sim.address();
  auto [server, url] = startServer(device, "127.0.0.1:0", "room-4711");
  ASSERT_TRUE(server);
  const std::string shots = std::filesystem::current_path().string();
  ChildProcess browser(NODE_PATH, {BROWSER_TEST_DIR "/control-page.mjs"},
                       {"ORVANE_PAGE_URL=" + url, "ORVANE_CODE=room-4711", "ORVANE_NEW_CODE=hall-0815",
                        "ORVANE_SHOTS=" + shots});
  const auto said = [&browser] {
    const ChildProcess::Result rest = browser.finish(10s);
    return rest.out + rest.err;
  };

  ASSERT_TRUE(heard(browser, "stop-server")) << said();
  server->terminate();
  browser.finishInput("stopped\n");
  ASSERT_TRUE(heard(browser, "start-server")) << said();
  const std::string address =
      url.substr(std::string_view("http://").size(), url.size() - 8);  // without the '/'
  server = startServer(device, address, "hall-0815").first;
  ASSERT_TRUE(server) << "the server did not come back at " << address;
  const ChildProcess::Result run = browser.finish(120s);
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  std::cout << "control page: " << run.out;  // load and level times, for the record

  server->terminate();
  sim.finish();
  DeviceData state;
  ASSERT_FALSE(DeviceStateFile::load(stateFile, state));
  for (int output = 0; output < kChannels;
       ++output)  // 0.1 dB, 0 dB at 600: -15 dB, not the -10 dB sent offline
    EXPECT_EQ(readField(state.working.block(Side::Output, output), CommonField::Allvolume), 450);
  for (int input : {0, 1})  // 1 while it sounds
    EXPECT_EQ(readField(state.working.block(Side::Input, input), CommonField::Mute), 0) << input;
}

// A room given two inputs and no outputs by its panel file: logged in with
// the room code, the page shows the two inputs and no outputs card.
TEST(ControlPage, ThePageShowsWhatThePanelGivesTheRoomAndNoEmptyCard) {
  ScratchDir dir{"control-page"};
  const std::string panel = dir.file("panel.json");
  std::ofstream(panel) << R"({"inputs": [{"channel": "A"}, {"channel": "C"}], "outputs": []})";
  SimulatorProcess sim;
  auto [server, url] = startServer("net:" + sim.address(), "127.0.0.1:0", "installer-1",
                                   {"--panel", panel, "--room-code", "room-4711"});
  ASSERT_TRUE(server);
  const ChildProcess::Result run =
      ChildProcess::run(NODE_PATH, {BROWSER_TEST_DIR "/panel-cards.mjs"}, {},
                        {"ORVANE_PAGE_URL=" + url, "ORVANE_CODE=room-4711", "ORVANE_INPUTS=2"}, 120s);
  EXPECT_EQ(run.status, 0) << run.out << run.err;
}

}  // namespace
}  // namespace orvane
