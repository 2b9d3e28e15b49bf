// What the session says when a link does not open or ends before it served:
// each message names the cause and what to do about it. The causes are
// made for real where this machine allows it (a port nothing listens on, a
// missing or busy serial port, a file that is no port, a simulator on
// another RS-485 ID or not ready, a bridge that already serves a client);
// the rest are told by the system's error number alone, whose mapping is
// checked on its own.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <thread>

#include "editor/EditorSession.h"
#include "support/BridgeProcess.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"
#include "transport/NetSocket.h"

namespace orvane::editor {
namespace {

using namespace std::chrono_literals;
using testing::HasSubstr;
using Cause = LinkFault::Cause;

// A pseudo-terminal pair, both ends closed at the end.
struct Pty {
  Pty() { ::openpty(&device, &port, name.data(), nullptr, nullptr); }
  ~Pty() {
    ::close(port);
    ::close(device);
  }
  std::array<char, 128> name{};
  int device = -1;
  int port = -1;
};

// A port on 127.0.0.1 that nothing listens on.
int freePort() {
  NetEndpoint endpoint{"127.0.0.1", 0};
  NetSocket socket = NetSocket::listening(endpoint, 1);
  return endpoint.port;
}

std::string openError(const ConnectTarget& target) {
  EditorSession session;
  return session.open(target, 20s);
}

TEST(LinkErrors, OpensThatFailNameTheCauseAndTheFix) {
  ScratchDir dir("link-errors");
  const std::string file = dir.file("not-a-port");
  std::ofstream(file) << "x";
  Pty held;
  ASSERT_EQ(::flock(held.port, LOCK_EX), 0);  // another program holds the port
  const int port = freePort();
  struct Case {
    const char* name;
    ConnectTarget target;
    std::string expected;
  };
  std::vector<Case> cases{
      {"nothing listens",
       {LinkType::Network, "127.0.0.1:" + std::to_string(port), 0},
       "nothing answers at 127.0.0.1:" + std::to_string(port) +
           ": connection refused — is the device on and its network module set to this address and port?"},
      {"a host name",
       {LinkType::Network, "localhost", 0},
       "'localhost' is not an IPv4 address: host names are not supported, give the device's address"},
      {"no such port",
       {LinkType::Serial, "/dev/orvane-no-such-port", 1},
       "there is no serial port /dev/orvane-no-such-port: check its name"},
      {"a bare name is looked up in /dev",
       {LinkType::Serial, "orvane-no-such-port", 1},
       "there is no serial port /dev/orvane-no-such-port"},
      {"a file", {LinkType::Serial, file, 1}, file + " is not a serial port"},
      {"no device on USB",
       {LinkType::Usb, "", 0},
       "no device found on USB: is it plugged in and switched on?"},
      {"a port held",
       {LinkType::Serial, held.name.data(), 1},
       "the serial port " + std::string(held.name.data()) + " is busy: another program holds it"},
  };
  // Root opens any port whatever its mode.
  Pty closed;
  if (::geteuid() != 0 && ::chmod(closed.name.data(), 0) == 0)
    cases.push_back({"no permission",
                     {LinkType::Serial, closed.name.data(), 1},
                     "add yourself to the dialout group: sudo usermod -aG dialout $USER, then log in again"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT(openError(c.target), HasSubstr(c.expected));
  }
}

// The system's error numbers that tell a cause, on the link they came from;
// some cannot be made on this machine (no permission as root, no route on
// the loopback interface).
TEST(LinkErrors, SystemErrorsTellTheCause) {
  const struct {
    LinkType link;
    int error;
    Cause cause;
    const char* text;
  } cases[] = {
      {LinkType::Network, ECONNREFUSED, Cause::Refused, "nothing answers at A: connection refused"},
      {LinkType::Network, EHOSTUNREACH, Cause::Unreachable,
       "no route to A: is this computer on the device's"},
      {LinkType::Network, ENETUNREACH, Cause::Unreachable, "no route to A"},
      {LinkType::Network, ETIMEDOUT, Cause::TimedOut, "no answer from A within the connection time"},
      {LinkType::Network, EMFILE, Cause::Unknown, "cannot open the link net:A: Too many open files"},
      {LinkType::Serial, ENOENT, Cause::NoSuchPort, "there is no serial port A"},
      {LinkType::Serial, EACCES, Cause::NoPermission, "sudo usermod -aG dialout $USER, then log in again"},
      {LinkType::Serial, EBUSY, Cause::PortBusy, "the serial port A is busy: another program holds it"},
      {LinkType::Serial, ENOTTY, Cause::NotAPort, "A is not a serial port"},
      {LinkType::Usb, EACCES, Cause::NoUsbAccess,
       "install the package's udev rule (/usr/lib/udev/rules.d/70-orvane.rules), then unplug the device and "
       "plug it in again"},
  };
  for (const auto& c : cases) {
    const LinkFault fault = LinkFault::fromError(c.link, "A", c.error);
    EXPECT_EQ(fault.cause, c.cause) << c.text;
    EXPECT_THAT(fault.text(), HasSubstr(c.text));
  }
}

// Polls `lost` until it holds; false after `limit`.
bool becomes(const std::function<bool()>& lost, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!lost()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

TEST(LinkErrors, LinksThatEndBeforeTheyServeSayWhy) {
  {
    SCOPED_TRACE("another ID on the bus");
    SimulatorProcess sim({"--serial", "--id", "2"});
    ASSERT_TRUE(sim.started());
    EXPECT_THAT(openError({LinkType::Serial, sim.serialPath(), 1}),
                HasSubstr("no answer from ID 1 on the RS-485 bus at " + sim.serialPath() +
                          ": is the device on, is 1 its ID"));
  }
  {
    SCOPED_TRACE("not ready");
    SimulatorProcess sim({"--fail-check"});
    ASSERT_TRUE(sim.started());
    EXPECT_THAT(openError({LinkType::Network, sim.address(), 0}), HasSubstr("it may not be ready yet"));
  }
  SimulatorProcess sim({"--serial"});
  ASSERT_TRUE(sim.started());
  BridgeProcess bridge(sim);
  ASSERT_TRUE(bridge.logLine("device link open")) << bridge.seen();
  EditorSession first;
  ASSERT_EQ(first.open(*ConnectTarget::parse(bridge.link())), "");
  {
    SCOPED_TRACE("a bridge busy with another client");
    EXPECT_THAT(openError(*ConnectTarget::parse(bridge.link())),
                HasSubstr("a bridge lets in one client at a time and only the addresses its --allow names"));
  }
  {
    SCOPED_TRACE("a device taken over by another program");
    EditorSession second;
    ASSERT_EQ(second.open({LinkType::Network, sim.address(), 0}), "");
    EditorSession third;
    third.open({LinkType::Network, sim.address(), 0});
    ASSERT_TRUE(becomes([&] { return second.linkLost() || third.linkLost(); }, 30s));
    const EditorSession& lost = second.linkLost() ? second : third;
    EXPECT_THAT(lost.loss().text(),
                HasSubstr("another program (orvane-server, an editor, orvanectl) may hold it"));
  }
}

// The bridge in front of an ID that does not answer says so, instead of a
// device link that opened and was lost.
TEST(LinkErrors, TheBridgeNamesTheIdThatDoesNotAnswer) {
  SimulatorProcess sim({"--serial", "--id", "2"});
  ASSERT_TRUE(sim.started());
  BridgeProcess bridge(sim);
  ASSERT_TRUE(bridge.logLine("device link open")) << bridge.seen();
  EditorSession session;
  EXPECT_NE(session.open(*ConnectTarget::parse(bridge.link()), 30s), "");
  EXPECT_TRUE(
      bridge.logLine("device link lost: no answer from ID 1 on the RS-485 bus at " + sim.serialPath()))
      << bridge.seen();
}

}  // namespace
}  // namespace orvane::editor
