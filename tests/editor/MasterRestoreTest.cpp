// The master level a program without a window brings back on unmute, over
// real links to a simulated device in this process: it outlives a link
// opened anew (the server's reconnect), a level of OFF is never the one to
// restore, and a program that never saw the side sound refuses the unmute
// instead of jumping to -48 dB.

#include <gtest/gtest.h>

#include <array>

#include "editor/ParameterOperations.h"
#include "model/Language.h"
#include "sim/TcpDeviceServer.h"

namespace orvane::editor {
namespace {

using control::ParameterPath;

TEST(MasterRestore, TheLevelToRestoreOutlivesTheLinkAndIsNeverGuessed) {
  Language::setFlag(1);
  DeviceState state;
  DeviceResponder responder(state);
  TcpDeviceServer server(responder);
  server.start("127.0.0.1", 0);
  const ConnectTarget device = *ConnectTarget::parse("net:127.0.0.1:" + std::to_string(server.port()));

  enum class Do { Open, Close, Set };
  struct Step {
    int session;  // 0: the program that set the level; 1: one that never saw it
    Do action;
    const char* path = "";
    const char* value = "";
    const char* level = "";  // master.out.level afterwards
    const char* error = "";  // the start of the refusal, if refused
  };
  const Step steps[] = {
      {0, Do::Open},
      {0, Do::Set, "master.out.level", "-10dB", "-10.0dB"},
      {0, Do::Set, "master.out.mute", "on", "OFF"},
      {0, Do::Close},
      {0, Do::Open},  // the device reads as muted now
      {0, Do::Set, "master.out.mute", "off", "-10.0dB"},
      {0, Do::Set, "master.out.level", "OFF", "OFF"},  // an off level is not remembered
      {0, Do::Set, "master.out.mute", "off", "-10.0dB"},
      {0, Do::Set, "master.out.level", "-20dB", "-20.0dB"},
      {0, Do::Set, "master.out.mute", "on", "OFF"},
      {0, Do::Close},
      {1, Do::Open},
      {1, Do::Set, "master.out.mute", "off", "OFF",
       "master.out.mute: the level to restore is not known: set master.out.level to a level first"},
      {1, Do::Set, "master.out.mute", "on", "OFF"},  // muting a muted side needs no level
      {1, Do::Set, "master.out.level", "-30dB", "-30.0dB"},
      {1, Do::Set, "master.out.mute", "on", "OFF"},
      {1, Do::Set, "master.out.mute", "off", "-30.0dB"},
      {1, Do::Close},
  };
  const ParameterPath level = std::get<ParameterPath>(ParameterPath::parse("master.out.level"));
  std::array<EditorSession, 2> sessions;
  int number = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE("step " + std::to_string(++number));
    EditorSession& session = sessions[static_cast<std::size_t>(step.session)];
    if (step.action == Do::Open) {
      ASSERT_EQ(session.open(device), "");
    }
    if (step.action == Do::Close) session.close();
    if (step.action != Do::Set) continue;
    const auto path = std::get<ParameterPath>(ParameterPath::parse(step.path));
    const ParameterOperations::Result result = ParameterOperations::set(session, path, step.value, true);
    EXPECT_EQ(result.message, step.error);
    EXPECT_EQ(result.status, *step.error ? ParameterOperations::Result::Status::BadValue
                                         : ParameterOperations::Result::Status::Done);
    EXPECT_EQ(level.text(session.image()), step.level);
  }
  // The device took every change: all eight outputs sound at -30 dB.
  for (int n = 0; n < kChannels; ++n) {
    EXPECT_EQ(state.read([&](const DeviceData& d) {
      return readField(d.working.block(Side::Output, n), OutputField::Allvolume);
    }),
              300)
        << n;
  }
}

}  // namespace
}  // namespace orvane::editor
