// The serial link on a COM port with the simulated device on its other
// end: tests/windows/with-simulator maps the COM port that
// ORVANE_TEST_COM names to the simulator's pseudo-terminal (device ID 1)
// before it starts this program.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/LinkParts.h"
#include "transport/SerialPort.h"
#include "transport/SerialPortList.h"
#include "transport/SerialTestFrames.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::levelPoll;

std::string comPort() {
  const char* name = std::getenv("ORVANE_TEST_COM");
  return name != nullptr ? name : "";
}

struct ComLink : LinkParts {
  ComLink() {
    timings.serialSynced = timings.serialOther = 1s;
    timings.serialRetryReadPause = 1ms;
  }
  void send(const SendData& frame) {
    slot.withFrames([&](SendData& tx, SendData&) { tx = frame; });
    replyEvent.reset();
    port.signalWrite();
  }
  SerialPort port{context()};
};

class SerialComPort : public ::testing::Test {
 protected:
  void SetUp() override {
    if (comPort().empty()) GTEST_SKIP() << "ORVANE_TEST_COM names no COM port";
  }
};

TEST_F(SerialComPort, TheMappedPortIsListed) {
  const SerialPortList list = SerialPortList::enumerate();
  EXPECT_TRUE(list.error().empty()) << list.error();
  const auto names = list.names();
  EXPECT_NE(std::find(names.begin(), names.end(), comPort()), names.end())
      << comPort() << " is not among the " << names.size() << " listed, the first " << names.front();
}

// (Wine lets a second opener have a COM port; Windows refuses it, as
// "access denied", which is told as a busy port.)
TEST_F(SerialComPort, AFailedOpenIsToldByItsCause) {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  struct Case {
    std::string address;
    LinkFault::Cause cause;
  };
  const Case cases[] = {
      {"COM42", LinkFault::Cause::NoSuchPort},                           // mapped to nothing
      {"NULL", LinkFault::Cause::NoSuchPort},                            // the box's entry for no port
      {std::string(windows) + "\\win.ini", LinkFault::Cause::NotAPort},  // a file
  };
  ComLink link;
  for (const Case& c : cases) {
    EXPECT_FALSE(link.port.open(c.address)) << c.address;
    EXPECT_EQ(link.port.openFailure().cause, c.cause) << c.address << ": " << link.port.openFailure().text();
  }
  EXPECT_TRUE(link.port.open(comPort()));
}

TEST_F(SerialComPort, FramesAndRepliesCrossThePort) {
  EXPECT_EQ(SerialPort::devicePath("COM3"), "\\\\.\\COM3");
  EXPECT_EQ(SerialPort::devicePath("\\\\.\\COM12"), "\\\\.\\COM12");

  ComLink link;
  ASSERT_TRUE(link.port.open(comPort()));
  EXPECT_TRUE(link.notifier.warnings().empty()) << link.notifier.warnings().front();
  // Device 1 answers, again and again.
  for (int round = 0; round < 3; ++round) {
    const SendData poll = levelPoll(1);
    link.send(poll);
    ASSERT_TRUE(link.replyEvent.wait(10s)) << "round " << round;
    EXPECT_FALSE(link.slot.withFrames([](const SendData& tx, const SendData&) { return tx.ready; }));
  }
  // No device 9 on the bus: its time-outs give the link up.
  link.send(levelPoll(9));
  EXPECT_TRUE(link.notifier.waitFor(Message::LinkLost, 1, 20s));
  EXPECT_FALSE(link.replyEvent.isSet());
  link.port.close();

  // A close while the reply is awaited, with no time-out near, ends the
  // wait at once and leaves nothing running on the port: it opens again
  // and the next exchange goes through.
  ComLink patient;
  patient.timings.serialSynced = patient.timings.serialOther = 1h;
  ASSERT_TRUE(patient.port.open(comPort()));
  patient.send(levelPoll(9));
  std::this_thread::sleep_for(200ms);  // the frame is out, the reply awaited
  const auto start = std::chrono::steady_clock::now();
  patient.port.close();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  ASSERT_TRUE(patient.port.open(comPort()));
  patient.send(levelPoll(1));
  EXPECT_TRUE(patient.replyEvent.wait(10s));
  EXPECT_EQ(patient.notifier.count(Message::LinkLost), 0);
}

}  // namespace
}  // namespace orvane
