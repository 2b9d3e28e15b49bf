// orvane-bridge as a program between the editor's core, connected over the
// network link, and a simulated device on an RS-485 pseudo-terminal: what
// the editor does arrives in the device, a lost device is reported on both
// sides, and clients the bridge must not serve are refused.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

#include "cli/CommandRunner.h"
#include "editor/EditorSession.h"
#include "model/ChannelRecords.h"
#include "model/NameField.h"
#include "sim/DeviceStateFile.h"
#include "support/BridgeProcess.h"
#include "support/SameBlocks.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"
#include "transport/NetSocket.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// Connects as a second client and reports whether the bridge closed the
// connection at once.
bool closedAtOnce(int port) {
  NetSocket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return false;
  const timeval limit{5, 0};
  ::setsockopt(socket.fd(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  char byte = 0;
  return ::recv(socket.fd(), &byte, 1, 0) == 0;
}

cli::Outcome run(editor::EditorSession& session, const std::string& link, const cli::Words& words) {
  cli::CommandContext context{session, true, {}, {}};
  return cli::CommandRunner(context, link).run(words);
}

TEST(Bridge, EditsAndAStoredProgramReachTheDeviceAndASecondClientIsRefused) {
  ScratchDir dir{"bridge"};
  const std::string stateFile = dir.file("device.bin");
  SimulatorProcess sim({"--serial", "--state", stateFile});
  ASSERT_TRUE(sim.started());
  BridgeProcess bridge(sim);
  ASSERT_TRUE(bridge.started()) << bridge.seen();
  ASSERT_TRUE(bridge.logLine("device link open")) << bridge.seen();

  editor::EditorSession session;
  ASSERT_EQ(session.open(*ConnectTarget::parse(bridge.link())), "");
  for (const cli::Words& words : {cli::Words{"set", "in.A.gain", "-12dB"},
                                  cli::Words{"set", "out.3.mute", "on"}, cli::Words{"store", "7", "Bridged"}})
    EXPECT_EQ(run(session, bridge.link(), words).status, 0) << words[0] << " " << words[1];

  EXPECT_TRUE(closedAtOnce(bridge.port()));
  EXPECT_TRUE(bridge.logLine("is connected (one client at a time)")) << bridge.seen();
  const BlockSet edited = session.image().read([](const ImageData& d) { return d.edited; });
  session.close();
  EXPECT_TRUE(bridge.logLine("disconnected")) << bridge.seen();

  EXPECT_EQ(sim.finish().status, 0);
  DeviceData device;
  ASSERT_FALSE(DeviceStateFile::load(stateFile, device));
  EXPECT_EQ(readField(device.working.block(Side::Input, 0), InputField::Gain), 180);  // 0.1 dB, 0 dB at 300
  EXPECT_TRUE(sameBlocks(device.working, edited));
  const ProgramRecord& stored = device.program(7);
  for (const Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      EXPECT_TRUE(std::ranges::equal(recordBlock(stored, side, channel), edited.block(side, channel)))
          << channel;
  EXPECT_EQ(NameField::FieldToText(recordName(stored)), "Bridged");
}

// Killed, the device's port goes away: the bridge says so and closes the
// editor's connection, whose link is reported lost once.
TEST(Bridge, ALostDeviceIsReportedByTheBridgeAndTheEditor) {
  SimulatorProcess sim({"--serial"});
  ASSERT_TRUE(sim.started());
  BridgeProcess bridge(sim);
  editor::EditorSession session;
  ASSERT_EQ(session.open(*ConnectTarget::parse(bridge.link())), "");

  sim.kill();
  EXPECT_TRUE(bridge.logLine("device link lost")) << bridge.seen();
  for (int i = 0; i < 200 && !session.linkLost(); ++i) std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(session.linkLost());
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(session.sinceOpen(Message::LinkLost), 1);
  EXPECT_TRUE(bridge.logLine("cannot be opened")) << bridge.seen();
}

TEST(Bridge, AClientOutsideTheAllowListIsRefused) {
  SimulatorProcess sim({"--serial"});
  ASSERT_TRUE(sim.started());
  BridgeProcess bridge(sim, {"--allow", "127.0.0.2", "--allow", "127.1.0.0/16"});
  ASSERT_TRUE(bridge.logLine("device link open")) << bridge.seen();
  EXPECT_TRUE(closedAtOnce(bridge.port()));
  EXPECT_TRUE(bridge.logLine("refused: it is not in the --allow list")) << bridge.seen();
}

}  // namespace
}  // namespace orvane
