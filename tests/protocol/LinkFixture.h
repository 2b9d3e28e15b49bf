#pragma once

// One link as a transport sees it: the slot with its transmit and receive
// frame, and the dispatcher that carries accepted replies into the image.

#include <gtest/gtest.h>

#include <ostream>

#include "FrameBytes.h"
#include "model/ParameterImage.h"
#include "protocol/LinkSlot.h"
#include "protocol/ReplyDispatcher.h"
#include "protocol/WorkerEvents.h"
#include "support/RecordingNotifier.h"

namespace orvane::test {

enum class Outcome { Incomplete, Accepted, Refused };

inline std::ostream& operator<<(std::ostream& out, Outcome outcome) {
  switch (outcome) {
    case Outcome::Incomplete:
      return out << "Incomplete";
    case Outcome::Accepted:
      return out << "Accepted";
    case Outcome::Refused:
      return out << "Refused";
  }
  return out;
}

// What a test may vary in the frame it puts in flight.
struct InFlight {
  ReplyKind replyKind = ReplyKind::None;
  bool lastOfTransfer = false;
};

class LinkFixture : public ::testing::Test {
 protected:
  // What the worker leaves in the transmit frame before the transport writes
  // it: a level poll, with bookkeeping that a reply must retire.
  void putInFlight(InFlight in = InFlight{}) {
    slot.withFrames([&](SendData& t, SendData&) {
      t.set(FrameOffset::Cmd, 0xA2);
      t.set(FrameOffset::Link, 0x03);
      t.set(FrameOffset::Block, 0x03);
      t.set(FrameOffset::Item, 0x03);
      t.set(FrameOffset::Length, 0x08);
      t.ready = true;
      t.progressPos = 17;
      t.showProgress = true;
      t.lastOfTransfer = in.lastOfTransfer;
      t.replyKind = in.replyKind;
    });
  }

  // Feeds bytes as one read of the transport.
  Outcome parse(const Bytes& bytes) {
    if (!slot.parse(bytes, dispatcher)) return Outcome::Incomplete;
    return receive().rxBad ? Outcome::Refused : Outcome::Accepted;
  }

  // A reply to a fresh exchange: the transport empties the receive frame
  // before it reads the reply of a frame it has (re-)sent.
  Outcome reply(const Bytes& bytes) {
    slot.clear(false);
    return parse(bytes);
  }

  SendData transmit() {
    return slot.withFrames([](SendData& t, SendData&) { return t; });
  }
  SendData receive() {
    return slot.withFrames([](SendData&, SendData& r) { return r; });
  }
  bool inFlight() { return transmit().ready; }

  // The image, and beside it the level request and the connection check.
  ImageData snapshot() {
    levelsRequestedBefore_ = levels.requested();
    checkPendingBefore_ = check.pending();
    return image.read([](const ImageData& d) { return d; });
  }

  // Everything a reply can write, compared with an earlier snapshot: a reply
  // that has no place in the image must leave all of it as it was.
  void expectUnchanged(const ImageData& before) {
    image.read([&](const ImageData& d) {
      EXPECT_TRUE(d.edited == before.edited) << "edited image changed";
      EXPECT_TRUE(d.device == before.device) << "device copy changed";
      EXPECT_TRUE(d.programs == before.programs) << "program store changed";
      EXPECT_EQ(d.currentProgramName, before.currentProgramName);
      EXPECT_EQ(d.system.setup, before.system.setup);
      EXPECT_EQ(d.system.extended, before.system.extended);
      EXPECT_EQ(d.system.startupProgram, before.system.startupProgram);
      EXPECT_EQ(d.system.networkName, before.system.networkName);
      EXPECT_EQ(d.locks.bytes, before.locks.bytes);
      EXPECT_EQ(d.locks.deviceLock, before.locks.deviceLock);
      EXPECT_EQ(d.locks.password, before.locks.password);
      EXPECT_EQ(d.connection.deviceId, before.connection.deviceId);
      EXPECT_EQ(d.connection.idTable, before.connection.idTable);
      EXPECT_EQ(d.status.inputLevels, before.status.inputLevels);
      EXPECT_EQ(d.status.outputLevels, before.status.outputLevels);
      EXPECT_EQ(d.status.firmwareVersion, before.status.firmwareVersion);
      EXPECT_EQ(d.status.cameraSaveEnabled, before.status.cameraSaveEnabled);
      EXPECT_EQ(d.status.cameraLoadEnabled, before.status.cameraLoadEnabled);
    });
    EXPECT_EQ(levels.requested(), levelsRequestedBefore_);
    EXPECT_EQ(check.pending(), checkPendingBefore_);
  }

  template <class F>
  decltype(auto) read(F&& f) {
    return image.read(std::forward<F>(f));
  }
  template <class F>
  decltype(auto) modify(F&& f) {
    return image.modify(std::forward<F>(f));
  }

  ParameterImage image;
  RecordingNotifier notifier;
  WorkerEvents events;
  LevelRequest levels;
  ConnectionCheck check;
  // Levels shown already are not announced again within a test.
  ReplyDispatcher dispatcher{image, notifier, events, levels, check, std::chrono::hours(1)};
  LinkSlot slot;

 private:
  bool levelsRequestedBefore_ = false;
  bool checkPendingBefore_ = false;
};

}  // namespace orvane::test
