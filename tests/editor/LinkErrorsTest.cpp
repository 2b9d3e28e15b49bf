// What the user is told when a link does not open or ends before it served:
// each message names the cause and what to do about it. The causes are
// made for real where this machine allows it (a port nothing listens on, a
// missing or busy serial port, a file that is no port, a simulator on
// another RS-485 ID or not ready, a bridge that already serves a client,
// two programs on one device); the rest are told by the system's error
// number alone.

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

// What the user is told, and the cause it was told for.
struct Told {
  std::optional<Cause> cause;
  std::string text;
};

Told toldOf(const LinkFault& fault) {
  return {fault.cause, fault.text()};
}

Told toldOf(const LinkEvent& event) {
  return {event.fault.cause, event.text()};
}

Told openFailure(const ConnectTarget& target) {
  EditorSession session;
  const auto failure = session.openLink(target, 20s);
  return failure ? toldOf(*failure) : Told{};
}

TEST(LinkErrors, EachCauseIsToldWithWhatToDo) {
  ScratchDir dir("link-errors");
  const std::string file = dir.file("not-a-port");
  std::ofstream(file) << "x";
  Pty held;
  ASSERT_EQ(::flock(held.port, LOCK_EX), 0);  // another program holds the port
  const std::string refused = "127.0.0.1:" + std::to_string(freePort());
  SimulatorProcess otherId({"--serial", "--id", "2"});
  ASSERT_TRUE(otherId.started());
  // A device on RS-485 behind a bridge that serves its one client.
  SimulatorProcess sim({"--serial"});
  ASSERT_TRUE(sim.started());
  BridgeProcess bridge(sim);
  ASSERT_TRUE(bridge.logLine("device link open")) << bridge.seen();
  EditorSession first;
  ASSERT_EQ(first.open(*ConnectTarget::parse(bridge.link())), "");

  // A cause made by opening `target`, or told by the system's `error`.
  const auto opening = [](ConnectTarget target) { return [=] { return openFailure(target); }; };
  const auto byError = [](LinkType link, int error) {
    return [=] { return toldOf(LinkFault::fromError(link, "A", error)); };
  };
  struct Case {
    std::function<Told()> provoke;
    std::optional<Cause> cause;  // nothing: the text alone tells it
    std::string expected;
  };
  std::vector<Case> cases{
      {opening({LinkType::Network, refused, 0}), Cause::Refused,
       "nothing answers at " + refused +
           ": connection refused — is the device on and its network module set to this address and port?"},
      {opening({LinkType::Network, "localhost", 0}), Cause::NotIpv4,
       "'localhost' is not an IPv4 address: host names are not supported, give the device's address"},
      {opening({LinkType::Serial, "/dev/orvane-no-such-port", 1}), Cause::NoSuchPort,
       "there is no serial port /dev/orvane-no-such-port: check its name"},
      // A bare name is looked up in /dev.
      {opening({LinkType::Serial, "orvane-no-such-port", 1}), Cause::NoSuchPort,
       "there is no serial port /dev/orvane-no-such-port"},
      {opening({LinkType::Serial, file, 1}), Cause::NotAPort, file + " is not a serial port"},
      {opening({LinkType::Usb, "", 0}), Cause::NoUsbDevice,
       "no device found on USB: is it plugged in and switched on?"},
      {opening({LinkType::Serial, held.name.data(), 1}), Cause::PortBusy,
       "the serial port " + std::string(held.name.data()) + " is busy: another program holds it"},
      {opening({LinkType::Serial, otherId.serialPath(), 1}), Cause::NoAnswer,
       "no answer from ID 1 on the RS-485 bus at " + otherId.serialPath() +
           ": is the device on, is 1 its ID"},
      // A bridge in front of that ID logs the same, not a device link that
      // opened and was lost.
      {[&] {
         BridgeProcess idBridge(otherId);
         EXPECT_TRUE(idBridge.logLine("device link open")) << idBridge.seen();
         EditorSession session;
         EXPECT_NE(session.open(*ConnectTarget::parse(idBridge.link()), 30s), "");
         return Told{{}, idBridge.logLine("device link lost").value_or(idBridge.seen())};
       },
       {},
       "device link lost: no answer from ID 1 on the RS-485 bus at " + otherId.serialPath()},
      {[] {
         SimulatorProcess notReady({"--fail-check"});
         EXPECT_TRUE(notReady.started());
         return openFailure({LinkType::Network, notReady.address(), 0});
       },
       Cause::NotReady, "it may not be ready yet"},
      // A bridge busy with another client.
      {opening(*ConnectTarget::parse(bridge.link())), Cause::EndedAtOnce,
       "a bridge lets in one client at a time and only the addresses its --allow names"},
      // A device taken over by another program: it hands its one link to the
      // newer connection, and the older session may take it back, so either
      // may be the one that loses it.
      {[&] {
         CountingNotifier reports;  // hears both sessions
         EditorSession::Setup setup;
         setup.notifier = &reports;
         EditorSession second(setup), third(setup);
         EXPECT_EQ(second.open({LinkType::Network, sim.address(), 0}), "");
         third.open({LinkType::Network, sim.address(), 0});
         EXPECT_TRUE(reports.waitFor(Message::LinkLost, 1, 30s));
         return toldOf((second.linkLost() ? second : third).loss());
       },
       {},
       "another program (orvane-server, an editor, orvanectl) may hold it"},
      // The system's error numbers that tell a cause, on the link they came
      // from; some cannot be made on this machine (no permission as root, no
      // route on the loopback interface).
      {byError(LinkType::Network, ECONNREFUSED), Cause::Refused, "nothing answers at A: connection refused"},
      {byError(LinkType::Network, EHOSTUNREACH), Cause::Unreachable,
       "no route to A: is this computer on the device's"},
      {byError(LinkType::Network, ENETUNREACH), Cause::Unreachable, "no route to A"},
      {byError(LinkType::Network, ETIMEDOUT), Cause::TimedOut, "no answer from A within the connection time"},
      {byError(LinkType::Network, EMFILE), Cause::Unknown, "cannot open the link net:A: Too many open files"},
      {byError(LinkType::Serial, ENOENT), Cause::NoSuchPort, "there is no serial port A"},
      {byError(LinkType::Serial, EACCES), Cause::NoPermission,
       "sudo usermod -aG dialout $USER, then log in again"},
      {byError(LinkType::Serial, EBUSY), Cause::PortBusy,
       "the serial port A is busy: another program holds it"},
      {byError(LinkType::Serial, ENOTTY), Cause::NotAPort, "A is not a serial port"},
      {byError(LinkType::Usb, EACCES), Cause::NoUsbAccess,
       "install the package's udev rule (/usr/lib/udev/rules.d/70-orvane.rules), then unplug the device and "
       "plug it in again"},
  };
  // Root opens any port whatever its mode.
  Pty closed;
  if (::geteuid() != 0 && ::chmod(closed.name.data(), 0) == 0)
    cases.push_back({opening({LinkType::Serial, closed.name.data(), 1}), Cause::NoPermission,
                     "add yourself to the dialout group: sudo usermod -aG dialout $USER, then log in again"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    const Told told = c.provoke();
    if (c.cause) {
      EXPECT_EQ(told.cause, c.cause);
    }
    EXPECT_THAT(told.text, HasSubstr(c.expected));
  }
}

}  // namespace
}  // namespace orvane::editor
