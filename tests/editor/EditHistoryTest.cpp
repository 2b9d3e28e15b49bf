// The editor's undo and redo. Over a real link to a simulated device in
// this process, every kind of gesture is one step that undo and redo take
// back and forth byte for byte; against orvane-sim, undoing a gain edit, an
// EQ drag and a program recall brings the device itself back to where it
// was. On an
// image alone: a new step drops the undone ones, a locked function is never
// changed, the bound drops the oldest steps and a new link forgets them all.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "cli/ParameterCommands.h"
#include "editor/ParameterOperations.h"
#include "editor/ProgramFiles.h"
#include "model/Language.h"
#include "model/LockState.h"
#include "model/ProgramStore.h"
#include "sim/DeviceStateFile.h"
#include "sim/TcpDeviceServer.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"

namespace orvane::editor {
namespace {

using control::ParameterPath;
using ProgramOperations::Until;

BlockSet edited(const ParameterImage& image) {
  return image.read([](const ImageData& d) { return d.edited; });
}

void set(EditorSession& session, const char* path, const std::string& value) {
  const auto parsed = std::get<ParameterPath>(ParameterPath::parse(path));
  ASSERT_TRUE(ParameterOperations::set(session, parsed, value, true).done()) << path << " " << value;
}

// A simulated device whose program 5 differs from its working state in
// every input's gain.
struct Device {
  DeviceState state;
  DeviceResponder responder{state};
  TcpDeviceServer server{responder};

  Device() {
    server.start("127.0.0.1", 0);
    state.modify([](DeviceData& d) {
      for (Side side : {Side::Input, Side::Output})
        for (int n = 0; n < kChannels; ++n) {
          const auto from = d.working.block(side, n);
          std::copy(from.begin(), from.end(), recordBlock(d.program(5), side, n).begin());
        }
      for (int n = 0; n < kChannels; ++n)
        writeField(recordBlock(d.program(5), Side::Input, n), InputField::Gain, -100 - n);
    });
  }
  ConnectTarget target() const {
    return *ConnectTarget::parse("net:127.0.0.1:" + std::to_string(server.port()));
  }
  BlockSet working() const {
    return state.read([](const DeviceData& d) { return d.working; });
  }
};

TEST(EditHistory, EachKindOfGestureIsOneStepUndoneAndRedoneByteForByte) {
  Language::setFlag(1);
  Device device;
  EditorSession session;
  ASSERT_EQ(session.open(device.target()), "");
  ScratchDir dir("edit-history");
  ASSERT_TRUE(ProgramFiles::saveOne(session, dir.file("room.prg")).done());
  std::ofstream(dir.file("rew.txt")) << "Filter  1: ON  PK       Fc   1000 Hz  Gain  -4.0 dB  Q  2.00\n"
                                        "Filter  2: ON  PK       Fc   4000 Hz  Gain   3.0 dB  Q  1.00\n";
  for (const char* input : {"in.A.link", "in.B.link", "in.C.link"}) set(session, input, "2");
  cli::CommandContext context{session, true, {}, {}};

  struct Case {
    const char* kind;
    std::function<void()> gesture;
    std::string name;  // of the step
  };
  const std::vector<Case> cases{
      {"a typed value", [&] { set(session, "out.3.gain", "-6dB"); }, "Output 3 gain -6.0dB"},
      {"a link-group copy", [&] { set(session, "in.A.eq.2.gain", "5dB"); },
       "Input A EQ band 2 gain 5.0dB (+2 more)"},
      {"a drag from press to release",
       [&] {
         session.history().begin();
         for (int hz = 200; hz <= 2000; hz += 200) set(session, "in.B.eq.4.freq", std::to_string(hz) + "Hz");
         session.history().end("in.B.eq.4.freq drag");
       },
       "in.B.eq.4.freq drag"},
      {"a filter import",
       [&] {
         EXPECT_TRUE(cli::ParameterCommands::importRew(context, {"in.A", dir.file("rew.txt")}).ok());
       },
       "REW filters into in.A"},
      {"a program recall", [&] { EXPECT_TRUE(ProgramOperations::recall(session, 5).done()); },
       "Recall program 5"},
      {"a program file",
       [&] { EXPECT_TRUE(ProgramFiles::loadOne(session, dir.file("room.prg"), Until::Taken).done()); },
       "Load room.prg"},
      {"a recall the window only queues",
       [&] {
         const int reads = session.notifier().count(Message::ChannelDataRead);
         EXPECT_TRUE(ProgramOperations::recall(session, 5, Until::Queued).done());
         EXPECT_EQ(session.waitFor(Message::ChannelDataRead, reads + 1), "");
       },
       "Recall program 5"},
  };
  std::size_t steps = session.history().steps();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const BlockSet before = edited(session.image());
    c.gesture();
    ASSERT_EQ(session.settle(), "");
    const BlockSet after = edited(session.image());
    ASSERT_NE(before, after);
    EXPECT_EQ(session.history().steps(), ++steps);
    EXPECT_EQ(session.history().undoName(), c.name);
    const EditHistory::Outcome undone = session.history().undo();
    EXPECT_TRUE(undone.applied) << undone.message;
    EXPECT_EQ(edited(session.image()), before);
    EXPECT_EQ(session.history().redoName(), c.name);
    EXPECT_TRUE(session.history().redo().applied);
    EXPECT_EQ(edited(session.image()), after);
    ASSERT_EQ(session.settle(), "");
    EXPECT_EQ(device.working(), after);
  }
  Language::setFlag(0);
  EXPECT_EQ(session.history().undoName(), "调用程序 5");
  Language::setFlag(1);
  session.close();
  EXPECT_EQ(session.history().undoName(), std::nullopt);
  EXPECT_EQ(session.history().steps(), 0u);
}

// Against orvane-sim run as its own program: its saved state after the
// three undos holds the working state from before the gain edit.
TEST(EditHistory, UndoingThreeStepsBringsTheDeviceBackByteForByte) {
  Language::setFlag(1);
  ScratchDir dir("edit-history-sim");
  const std::string stateFile = dir.file("device.bin");
  SimulatorProcess sim({"--state", stateFile});
  ASSERT_TRUE(sim.started());
  EditorSession session;
  ASSERT_EQ(session.open(*ConnectTarget::parse("net:" + sim.address())), "");
  // Program 5 differs from the working state in input B's gain.
  set(session, "in.B.gain", "-20dB");
  ASSERT_TRUE(ProgramOperations::store(session, 5, "Five").done());
  set(session, "in.B.gain", "0dB");
  ASSERT_EQ(session.settle(), "");
  const BlockSet start = edited(session.image());
  session.history().clear();

  set(session, "in.A.gain", "-6dB");
  session.history().begin();
  for (int db = -3; db <= 6; ++db) set(session, "out.2.eq.3.gain", std::to_string(db) + "dB");
  session.history().end();
  ASSERT_TRUE(ProgramOperations::recall(session, 5).done());
  ASSERT_NE(edited(session.image()), start);
  for (int n = 0; n < 3; ++n) EXPECT_TRUE(session.history().undo().applied);
  session.command().WakeWorker();
  ASSERT_EQ(session.settle(), "");
  EXPECT_EQ(edited(session.image()), start);
  EXPECT_FALSE(session.history().undo().applied);
  session.close();

  ASSERT_EQ(sim.finish().status, 0);
  DeviceData saved;
  ASSERT_FALSE(DeviceStateFile::load(stateFile, saved));
  EXPECT_EQ(saved.working, start);
}

// An image with an output gain step at each code of `codes`, on a history
// whose link epoch the test moves.
struct Image {
  ParameterImage image;
  int epoch = 0;
  EditHistory history;

  explicit Image(EditHistory::Limits limits)
      : history(
            image, [this] { return epoch; }, limits) {
    image.setField(Side::Output, 0, OutputField::Gain, 0);
    image.setField(Side::Output, 0, OutputField::Mute, 0);
  }
  void gain(int code) {
    history.record([&] { image.setField(Side::Output, 0, OutputField::Gain, code); },
                   [code] { return "gain " + std::to_string(code); });
  }
  int gainNow() const { return image.field(Side::Output, 0, OutputField::Gain); }
};

TEST(EditHistory, BranchesLocksBoundAndRelinks) {
  Language::setFlag(1);
  struct After {
    int gain;             // of output 1
    std::size_t steps;    // kept
    std::string undo;     // the name of the next undo; empty for none
    std::string message;  // of the last undo or redo
  };
  struct Case {
    const char* what;
    EditHistory::Limits limits;
    After after;
    // Returns the message of its last undo or redo.
    std::function<std::string(Image&)> act;
  };
  // A byte bound that holds two gain steps but not three.
  const std::size_t twoAndAHalfSteps = [] {
    Image probe({});
    probe.gain(10);
    return probe.history.bytes() * 5 / 2;
  }();
  const auto undo = [](Image& i, int times) {
    std::string message;
    for (int n = 0; n < times; ++n) message = i.history.undo().message;
    return message;
  };
  const std::vector<Case> cases{
      {"a new step drops the undone ones",
       {},
       {40, 2, "gain 40", "nothing to redo"},
       [&](Image& i) {
         for (int code : {10, 20, 30}) i.gain(code);
         undo(i, 2);
         i.gain(40);
         return i.history.redo().message;
       }},
      {"a gesture that changes nothing is no step",
       {},
       {0, 1, "", "nothing to undo"},
       [&](Image& i) {
         i.gain(10);
         i.history.begin();
         i.history.end("nothing");
         i.gain(10);
         return undo(i, 2);
       }},
      {"a locked function is skipped, the steps behind it are not",
       {},
       {0, 3, "", "skipped \"mute\": it changes a function locked on the device"},
       [&](Image& i) {
         i.gain(10);
         i.history.record([&] { i.image.setField(Side::Output, 0, OutputField::Mute, 1); },
                          [] { return std::string("mute"); });
         i.gain(30);
         i.image.modify([](ImageData& d) { d.locks.setLocked(LockFlag::OutputMute, true); });
         undo(i, 1);
         const std::string skipped = undo(i, 1);
         undo(i, 1);
         EXPECT_EQ(i.image.field(Side::Output, 0, OutputField::Mute), 1);
         return skipped;
       }},
      {"the step bound drops the oldest",
       {3, 1 << 20},
       {20, 3, "", "nothing to undo"},
       [&](Image& i) {
         for (int code : {10, 20, 30, 40, 50}) i.gain(code);
         return undo(i, 4);
       }},
      {"the byte bound drops the oldest",
       {500, twoAndAHalfSteps},
       {30, 2, "", "nothing to undo"},
       [&](Image& i) {
         for (int code : {10, 20, 30, 40, 50}) i.gain(code);
         EXPECT_LE(i.history.bytes(), twoAndAHalfSteps);
         return undo(i, 5);
       }},
      {"a step awaiting the device closes once its changes arrived",
       {},
       {50, 2, "late", ""},
       [&](Image& i) {
         bool arrived = false;
         i.history.begin();
         i.history.endWhen("late", [&] { return arrived; });
         EXPECT_EQ(i.history.undo().message, "a change is still in progress");
         i.image.setField(Side::Output, 0, OutputField::Gain, 50);
         arrived = true;
         i.gain(60);
         return undo(i, 1);
       }},
      {"a new link forgets everything, an open step too",
       {},
       {20, 0, "", "nothing to undo"},
       [&](Image& i) {
         i.gain(10);
         i.history.begin();
         i.image.setField(Side::Output, 0, OutputField::Gain, 20);
         ++i.epoch;
         i.history.end("lost");
         return undo(i, 1);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Image i(c.limits);
    const std::string message = c.act(i);
    EXPECT_EQ(i.gainNow(), c.after.gain);
    EXPECT_EQ(i.history.steps(), c.after.steps);
    EXPECT_EQ(i.history.undoName().value_or(""), c.after.undo);
    EXPECT_EQ(message, c.after.message);
  }
}

}  // namespace
}  // namespace orvane::editor
