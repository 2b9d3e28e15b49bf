// The serial port on its own, against a device end played by hand over a
// real pseudo-terminal: what it writes, when it writes again, when it gives
// the link up, and what it refuses to open.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "protocol/ReplyDispatcher.h"
#include "sim/DeviceResponder.h"
#include "support/RecordingNotifier.h"
#include "support/TestLinkHooks.h"
#include "transport/SerialPort.h"
#include "transport/SerialTestFrames.h"
#include "transport/SerialTestPeer.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::Bytes;
using test::levelPoll;
using test::SerialTestPeer;

constexpr std::intptr_t kSerial = 1;

// Waits short enough to keep the suite quick, long enough for a loaded
// machine to answer over a pseudo-terminal.
Timings quick() {
  Timings t;
  t.serialIdProbe = 40ms;
  t.serialTransferSynced = t.serialTransferAwaiting = t.serialTransferOther = 200ms;
  t.serialSynced = t.serialLongOperation = t.serialNameRead = t.serialOther = 200ms;
  t.serialAfterLongWrite = 20ms;
  t.serialAfterRead = 1ms;
  t.serialRetryReadPause = 1ms;
  return t;
}

// Waits no test lives to see: whatever happens, happens without a time-out.
Timings patient() {
  Timings t;
  t.serialIdProbe = t.serialTransferSynced = t.serialTransferAwaiting = t.serialTransferOther = 1h;
  t.serialSynced = t.serialLongOperation = t.serialNameRead = t.serialOther = 1h;
  t.serialAfterLongWrite = 1h;
  return t;
}

// The network name "AB" written to device 5: a long operation.
SendData networkNameWrite() {
  SendData f;
  f.set(4, 0xA1);   // cmd: write
  f.set(5, 0x01);   // link: serial
  f.set(7, 0x05);   // device ID 5
  f.set(9, 0x03);   // block: system item
  f.set(10, 0x33);  // item 51: network name
  f.set(13, 0x02);  // length 2
  f.set(14, 'A');
  f.set(15, 'B');
  f.finalise(0x10);
  f.replyKind = ReplyKind::NetworkNameWrite;
  return f;
}

// An ID-search probe of device `id`.
SendData probe(std::uint8_t id) {
  SendData f;
  f.set(4, 0xA2);   // cmd: read
  f.set(5, 0x01);   // link: serial
  f.set(7, id);     // the probed ID
  f.set(9, 0x03);   // block: system item
  f.set(10, 0x15);  // item 21: device ID
  f.set(13, 0x08);  // length: eight zero bytes
  f.finalise(0x07);
  f.idProbe = true;
  f.showProgress = true;
  f.progressPos = id;
  return f;
}

Bytes wireOf(const SendData& frame) {
  return Bytes(frame.wire().begin(), frame.wire().end());
}

// The serial port with the link machinery it needs around it, and the
// device end of its terminal.
struct Rig {
  explicit Rig(Timings t) : timings(t) {}

  // Puts `frame` in flight as the worker does.
  void send(const SendData& frame) {
    slot.withFrames([&](SendData& tx, SendData&) { tx = frame; });
    replyEvent.reset();
    port.signalWrite();
  }
  // What device 5 answers to `request`.
  Bytes answer(const Bytes& request) { return responder.respond(request).value(); }
  bool inFlight() {
    return slot.withFrames([](const SendData& tx, const SendData&) { return tx.ready; });
  }
  bool open() { return port.open(peer.path()); }

  Timings timings;
  ParameterImage image;
  RecordingNotifier notifier;
  WorkerEvents events;
  LevelRequest levels;
  ConnectionCheck check;
  ReplyDispatcher dispatcher{image, notifier, events, levels, check};
  LinkSlot slot;
  Event replyEvent;
  TestLinkHooks hooks{check};
  SerialTestPeer peer;
  DeviceState device;
  DeviceResponder responder{device};
  SerialPort port{LinkContext{slot, dispatcher, replyEvent, notifier, timings, hooks}};
};

std::unique_ptr<Rig> openRig(Timings t) {
  auto rig = std::make_unique<Rig>(t);
  rig->device.setDeviceId(5);
  EXPECT_TRUE(rig->open());
  return rig;
}

// --- opening ----------------------------------------------------------------

TEST(SerialPortOpen, APseudoTerminalOpensWithoutWarnings) {
  Rig rig(quick());
  EXPECT_TRUE(rig.open());
  // A pseudo-terminal has no modem lines; that must not alarm the user.
  EXPECT_TRUE(rig.notifier.warnings().empty());
}

TEST(SerialPortOpen, WhatIsNoTerminalIsRefusedAndLeftUntouched) {
  Rig rig(quick());
  char fileName[] = "/tmp/orvane-serial-XXXXXX";
  const int fd = ::mkstemp(fileName);
  ASSERT_GE(fd, 0);
  ::close(fd);
  const std::string content = "a user's program file";
  std::ofstream(fileName) << content;

  EXPECT_FALSE(rig.port.open(fileName));
  EXPECT_FALSE(rig.port.open("/tmp"));
  EXPECT_FALSE(rig.port.open("/dev/ttyDoesNotExist42"));
  EXPECT_FALSE(rig.port.open(""));
  // What the port box offers when the machine has no port.
  EXPECT_FALSE(rig.port.open("NULL"));

  std::ifstream in(fileName);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
  std::remove(fileName);
}

TEST(SerialPortOpen, APortIsHeldByOneOpenerAtATime) {
  Rig first(quick());
  WorkerEvents events;
  ReplyDispatcher dispatcher{first.image, first.notifier, events, first.levels, first.check};
  LinkSlot slot;
  Event replyEvent;
  SerialPort second{LinkContext{slot, dispatcher, replyEvent, first.notifier, first.timings, first.hooks}};

  ASSERT_TRUE(first.open());
  EXPECT_FALSE(second.open(first.peer.path()));
  first.port.close();
  EXPECT_TRUE(second.open(first.peer.path()));
}

TEST(SerialPortOpen, BareNamesAreLookedUpInDev) {
  EXPECT_EQ(SerialPort::devicePath("ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(SerialPort::devicePath("/dev/pts/7"), "/dev/pts/7");
}

TEST(SerialPortOpen, ShutDownForGood) {
  Rig rig(quick());
  ASSERT_TRUE(rig.open());
  rig.port.shutdown();
  rig.port.shutdown();
  EXPECT_FALSE(rig.open());
}

// --- one exchange -------------------------------------------------------------

TEST(SerialPortExchange, AGoodReplyEndsTheExchange) {
  auto rig = openRig(quick());
  const SendData poll = levelPoll();
  rig->send(poll);

  const auto written = rig->peer.device().readFrame();
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, wireOf(poll));
  rig->peer.device().write(rig->answer(*written));

  EXPECT_TRUE(rig->replyEvent.wait(10s));
  EXPECT_FALSE(rig->inFlight());
  EXPECT_EQ(rig->notifier.count(Message::LinkLost), 0);
}

TEST(SerialPortExchange, AReplyInPiecesCompletesWithoutAnotherWrite) {
  auto rig = openRig(patient());
  rig->send(levelPoll());
  const auto written = rig->peer.device().readFrame();
  ASSERT_TRUE(written);
  const Bytes reply = rig->answer(*written);
  const std::span<const std::uint8_t> all(reply);
  for (auto piece : {all.first(2), all.subspan(2, 9), all.subspan(11)}) {
    rig->peer.device().write(piece);
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_TRUE(rig->replyEvent.wait(10s));
  EXPECT_FALSE(rig->inFlight());
  EXPECT_FALSE(rig->peer.device().readFrame(100ms));
}

// The port drops what it had of the broken reply when it writes again, so
// the fresh reply is read from its first byte.
TEST(SerialPortExchange, AReplyThatStopsHalfWayIsAskedForAgainAndTheFreshOneTaken) {
  auto rig = openRig(quick());
  const SendData poll = levelPoll();
  rig->send(poll);
  const auto written = rig->peer.device().readFrame();
  ASSERT_TRUE(written);
  const Bytes reply = rig->answer(*written);
  rig->peer.device().write(std::span(reply).first(9));

  const auto again = rig->peer.device().readFrame();
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, wireOf(poll));
  rig->peer.device().write(rig->answer(*again));

  EXPECT_TRUE(rig->replyEvent.wait(10s));
  EXPECT_FALSE(rig->inFlight());
  EXPECT_FALSE(rig->peer.device().readFrame(300ms));
  EXPECT_EQ(rig->notifier.count(Message::LinkLost), 0);
}

// With time-outs nobody waits for, only an immediate re-write moves on.
TEST(SerialPortExchange, CorruptRepliesAreAskedForAgainAtOnce) {
  auto rig = openRig(patient());
  const SendData poll = levelPoll();
  rig->send(poll);
  for (int corrupt = 0; corrupt < 2; ++corrupt) {
    const auto written = rig->peer.device().readFrame();
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, wireOf(poll));
    Bytes reply = rig->answer(*written);
    reply[reply.size() - 2] ^= 0xFF;  // the checksum
    rig->peer.device().write(reply);
  }
  const auto third = rig->peer.device().readFrame();
  ASSERT_TRUE(third);
  EXPECT_EQ(*third, wireOf(poll));
  EXPECT_FALSE(rig->replyEvent.isSet());
  rig->peer.device().write(rig->answer(*third));

  EXPECT_TRUE(rig->replyEvent.wait(10s));
  EXPECT_FALSE(rig->inFlight());
  EXPECT_EQ(rig->notifier.count(Message::LinkLost), 0);
}

// --- how long a frame waits ----------------------------------------------------

// The rows of the wait table: what the frame in flight waits for picks one.
constexpr std::array kWaitRows{
    &Timings::serialIdProbe,       &Timings::serialTransferSynced, &Timings::serialTransferAwaiting,
    &Timings::serialTransferOther, &Timings::serialSynced,         &Timings::serialLongOperation,
    &Timings::serialNameRead,      &Timings::serialOther,
};

// Every row a wait of its own, all far beyond the test, except `row`.
Timings onlyRowShort(Timings::ms Timings::*row) {
  Timings t = quick();
  int n = 0;
  for (auto each : kWaitRows) t.*each = 1h + std::chrono::minutes(++n);
  t.*row = 100ms;
  return t;
}

SendData withKind(SendData frame, ReplyKind kind) {
  frame.replyKind = kind;
  return frame;
}

// A frame of a transfer that shows its progress (a read of all programs).
SendData transferFrame() {
  SendData frame = levelPoll();
  frame.showProgress = true;
  return frame;
}

// The frame times out, and so shows which row it waited by, only when its
// own row is the short one.
TEST(SerialPortWaits, EachFrameWaitsByItsOwnRowOfTheTable) {
  struct Case {
    const char* what;
    Timings::ms Timings::*row;
    SendData frame;
    std::size_t replyBytes;  // of the reply the device sends before it falls silent
  };
  const Case cases[] = {
      {"probe", &Timings::serialIdProbe, probe(7), 0},
      {"transfer, reply begun", &Timings::serialTransferSynced, transferFrame(), 6},
      {"transfer, no reply", &Timings::serialTransferAwaiting, transferFrame(), 0},
      {"reply begun", &Timings::serialSynced, levelPoll(), 6},
      {"network rename", &Timings::serialLongOperation, networkNameWrite(), 0},
      {"network reset", &Timings::serialLongOperation, withKind(levelPoll(), ReplyKind::NetworkFactoryReset),
       0},
      {"network name read", &Timings::serialNameRead, withKind(levelPoll(), ReplyKind::NetworkNameRead), 0},
      {"other", &Timings::serialOther, levelPoll(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto rig = openRig(onlyRowShort(c.row));
    rig->send(c.frame);
    const auto written = rig->peer.device().readFrame();
    ASSERT_TRUE(written);
    if (c.replyBytes > 0) {
      const Bytes reply = rig->answer(*written);
      rig->peer.device().write(std::span(reply).first(c.replyBytes));
    }
    if (c.frame.idProbe) {
      // Silence moves the search on.
      EXPECT_TRUE(rig->replyEvent.wait(10s));
      EXPECT_FALSE(rig->inFlight());
    } else {
      // Silence costs a re-write.
      const auto again = rig->peer.device().readFrame();
      ASSERT_TRUE(again);
      EXPECT_EQ(*again, *written);
    }
  }
}

// --- giving up ----------------------------------------------------------------

TEST(SerialPortGivingUp, SilenceCostsTwoRewritesThenTheLinkIsLost) {
  auto rig = openRig(quick());
  const SendData poll = levelPoll();
  rig->send(poll);
  for (int n = 0; n < 3; ++n) {
    const auto written = rig->peer.device().readFrame();
    ASSERT_TRUE(written) << "write " << n + 1;
    EXPECT_EQ(*written, wireOf(poll));
  }
  ASSERT_TRUE(rig->notifier.waitFor(Message::LinkLost));
  const PostedMessage lost = rig->notifier.messages().back();
  EXPECT_EQ(lost.wParam, kSerial);
  EXPECT_EQ(lost.lParam, 0);
  // Given up: nothing more goes out, however long the frame waits.
  EXPECT_FALSE(rig->peer.device().readFrame(3 * rig->timings.serialOther));
  EXPECT_EQ(rig->notifier.count(Message::LinkLost), 1);
}

// The lost-link message names a network operation only when the device had
// begun to answer it; silence reads as a port that does not work.
TEST(SerialPortGivingUp, ALongOperationWhoseReplyHadBegunIsNamed) {
  auto rig = openRig(quick());
  rig->send(networkNameWrite());
  for (int n = 0; n < 3; ++n) {
    const auto written = rig->peer.device().readFrame();
    ASSERT_TRUE(written);
    const Bytes reply = rig->answer(*written);
    rig->peer.device().write(std::span(reply).first(6));
  }
  ASSERT_TRUE(rig->notifier.waitFor(Message::LinkLost));
  const PostedMessage lost = rig->notifier.messages().back();
  EXPECT_EQ(lost.wParam, kSerial);
  EXPECT_EQ(lost.lParam, static_cast<std::intptr_t>(ReplyKind::NetworkNameWrite));
}

TEST(SerialPortGivingUp, ALongOperationThatGotNoAnswerIsNotNamed) {
  auto rig = openRig(quick());
  rig->send(networkNameWrite());
  for (int n = 0; n < 3; ++n) ASSERT_TRUE(rig->peer.device().readFrame());
  ASSERT_TRUE(rig->notifier.waitFor(Message::LinkLost));
  EXPECT_EQ(rig->notifier.messages().back().lParam, 0);
}

TEST(SerialPortGivingUp, TheDeviceEndGoingAwayLosesTheLinkAndEndsASearch) {
  auto rig = openRig(patient());
  rig->hooks.searching = true;
  rig->send(levelPoll());
  ASSERT_TRUE(rig->peer.device().readFrame());
  rig->peer.hangUp();

  ASSERT_TRUE(rig->notifier.waitFor(Message::LinkLost));
  EXPECT_EQ(rig->notifier.messages().back().wParam, kSerial);
  EXPECT_EQ(rig->notifier.idSearchEndings(), 1);
  EXPECT_FALSE(rig->hooks.searching);
}

TEST(SerialPortGivingUp, APortGoneWhileIdleFailsTheNextWrite) {
  auto rig = openRig(patient());
  rig->peer.hangUp();
  rig->send(levelPoll());
  ASSERT_TRUE(rig->notifier.waitFor(Message::LinkLost));
  EXPECT_EQ(rig->notifier.messages().back().wParam, kSerial);
  // No search ran, so none is ended.
  EXPECT_EQ(rig->notifier.idSearchEndings(), 0);
}

// --- ID-search probes -----------------------------------------------------------

TEST(SerialPortProbe, SilenceMovesTheSearchOnAfterOneWrite) {
  auto rig = openRig(quick());
  rig->send(probe(7));
  ASSERT_TRUE(rig->peer.device().readFrame());
  EXPECT_TRUE(rig->replyEvent.wait(10s));
  EXPECT_FALSE(rig->inFlight());
  EXPECT_FALSE(rig->peer.device().readFrame(200ms));
  EXPECT_EQ(rig->notifier.count(Message::LinkLost), 0);
}

TEST(SerialPortProbe, SilenceOfTheLastIdEndsTheSearch) {
  auto rig = openRig(quick());
  rig->send(probe(250));
  ASSERT_TRUE(rig->peer.device().readFrame());
  ASSERT_TRUE(rig->notifier.waitFor(Message::LinkLost));
  const PostedMessage ended = rig->notifier.messages().back();
  EXPECT_EQ(ended.wParam, kSerial);
  EXPECT_EQ(ended.lParam, 0);
  // Ending a search is no port failure: the dialog's list is refreshed by
  // whoever handles the message.
  EXPECT_EQ(rig->notifier.idSearchEndings(), 0);
}

TEST(SerialPortProbe, AnAnswerFillsTheIdTable) {
  auto rig = openRig(quick());
  rig->image.modify([](ImageData& d) { d.connection.idTable.fill(0); });
  rig->send(probe(5));
  const auto written = rig->peer.device().readFrame();
  ASSERT_TRUE(written);
  rig->peer.device().write(rig->answer(*written));
  EXPECT_TRUE(rig->replyEvent.wait(10s));
  EXPECT_EQ(rig->image.read([](const ImageData& d) { return d.connection.idTable[4]; }), 5);
}

// --- closing ------------------------------------------------------------------

// The pause after a network rename is long; closing must not sit it out.
TEST(SerialPortClose, CloseEndsAPauseAfterALongOperationAndThePortOpensAgain) {
  auto rig = openRig(patient());
  rig->send(networkNameWrite());
  ASSERT_TRUE(rig->peer.device().readFrame());
  rig->port.close();
  rig->slot.clear(true);

  ASSERT_TRUE(rig->open());
  rig->send(levelPoll());
  const auto written = rig->peer.device().readFrame();
  ASSERT_TRUE(written);
  rig->peer.device().write(rig->answer(*written));
  EXPECT_TRUE(rig->replyEvent.wait(10s));
  EXPECT_EQ(rig->notifier.count(Message::LinkLost), 0);
}

}  // namespace
}  // namespace orvane
