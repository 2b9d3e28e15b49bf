// Which function lock guards which parameter, in orvanectl's commands and
// in orvane-server's API and stream alike, against simulated devices on
// loopback in this process: a locked parameter is neither changed nor
// shown, and nothing that would change the device reaches it.

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "cli/CommandRunner.h"
#include "model/Language.h"
#include "protocol/SendData.h"
#include "server/ChangeFeed.h"
#include "server/DeviceService.h"
#include "sim/TcpDeviceServer.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using control::Json;

// A simulated device on a free port of 127.0.0.1 that counts the requests
// other than reads it receives.
class LoopbackDevice {
 public:
  LoopbackDevice() {
    responder_.setRequestObserver([this](const SendData& request) {
      if (request.cmd() != static_cast<std::uint8_t>(FrameCode::CmdRead)) ++changes_;
    });
    server_.start("127.0.0.1", 0);
  }

  std::string link() const { return "net:127.0.0.1:" + std::to_string(server_.port()); }
  ConnectTarget target() const { return *ConnectTarget::parse(link()); }
  int changes() const { return changes_; }
  BlockSet working() const {
    return state_.read([](const DeviceData& d) { return d.working; });
  }

 private:
  DeviceState state_;
  DeviceResponder responder_{state_};
  TcpDeviceServer server_{responder_};
  std::atomic<int> changes_{0};
};

// The lock flags as the device's lock packet leaves them: `flags` set,
// every other one free.
void lockOnly(ParameterImage& image, const std::vector<int>& flags) {
  image.modify([&](ImageData& d) {
    d.locks.bytes.fill(0);
    for (int flag : flags) d.locks.setLocked(flag, true);
  });
}

template <class Done>
bool waitUntil(Done&& done) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

// The parameters of the stream as a page that joins now receives them,
// once `path` shows locked.
Json streamedParams(server::ChangeFeed& feed, const std::string& path) {
  Json params;
  waitUntil([&] {
    long seen = -1;
    params = Json::parse(feed.next(seen, 0ms)->substr(std::string_view("data: ").size()))["params"];
    return params[path].is_object();
  });
  return params;
}

void expectLocked(const cli::Outcome& outcome, const std::string& function) {
  EXPECT_EQ(outcome.status, cli::Outcome::Failed) << function;
  EXPECT_EQ(outcome.error, function + " is locked on the device");
}

// One lock flag with parameters of every family it guards, each with a
// value that would change it, and the channel whose EQ a REW import fills.
struct Guard {
  int flag;
  std::vector<std::pair<std::string, std::string>> paths;
  const char* eqChannel = nullptr;
};

const std::vector<Guard> kGuards{
    {LockFlag::InputLabel, {{"in.A.name", "Podium"}, {"in.H.name", "Rear"}}},
    {LockFlag::InputMute, {{"in.A.mute", "on"}, {"in.H.mute", "on"}}},
    {LockFlag::InputDelay, {{"in.B.delay", "5ms"}}},
    {LockFlag::InputGain, {{"in.B.gain", "-6dB"}, {"in.G.gain", "3dB"}}},
    {LockFlag::InputPolarity, {{"in.B.polarity", "inverted"}}},
    {LockFlag::InputMainVolume, {{"master.in.level", "-10dB"}, {"master.in.mute", "on"}}},
    {LockFlag::MainFeedback, {{"master.antifeedback", "on"}}},
    {LockFlag::NoiseGate, {{"in.C.gate", "-60dBu"}}},
    {LockFlag::InputFeedback, {{"in.C.feedback", "2"}}},
    {LockFlag::Matrix, {{"matrix.A.1", "-6dB"}, {"matrix.H.8", "off"}}},
    {LockFlag::InputDynamics,
     {{"in.D.agc.target", "-10dB"},
      {"in.D.agc.ratio", "1:2"},
      {"in.D.agc.release", "300ms"},
      {"in.D.comp.level", "-10dB"},
      {"in.D.comp.ratio", "4:1"},
      {"in.D.comp.attack", "5ms"}}},
    {LockFlag::InputEq,
     {{"in.E.eq.1.freq", "1k"},
      {"in.E.eq.8.gain", "-3dB"},
      {"in.E.eq.2.bw", "1oct"},
      {"in.E.eq.3.q", "2"},
      {"in.E.eq.4.type", "lowshelf"},
      {"in.E.eq.4.slope", "12dB/oct"}},
     "in.E"},
    {LockFlag::InputCrossover, {{"in.F.xover.lo.freq", "80Hz"}, {"in.F.xover.hi.slope", "24"}}},
    {LockFlag::InputLink, {{"in.G.link", "1"}}},
    {LockFlag::OutputLabel, {{"out.1.name", "Ceiling"}}},
    {LockFlag::OutputMute, {{"out.2.mute", "on"}}},
    {LockFlag::OutputDelay, {{"out.3.delay", "2ms"}}},
    {LockFlag::OutputGain, {{"out.4.gain", "-6dB"}}},
    {LockFlag::OutputPolarity, {{"out.5.polarity", "inverted"}}},
    {LockFlag::OutputMainVolume, {{"master.out.level", "-10dB"}, {"master.out.mute", "on"}}},
    {LockFlag::OutputDynamics,
     {{"out.6.comp.level", "-10dB"},
      {"out.6.comp.ratio", "4:1"},
      {"out.6.lim.threshold", "-6dB"},
      {"out.6.lim.release", "300ms"}}},
    {LockFlag::OutputEq, {{"out.7.eq.9.gain", "-3dB"}, {"out.7.eq.1.type", "highshelf"}}, "out.7"},
    {LockFlag::OutputCrossover, {{"out.8.xover.lo.family", "Bessel"}, {"out.8.xover.hi.freq", "8k"}}},
    {LockFlag::OutputLink, {{"out.8.link", "1"}}},
    {LockFlag::Settings,
     {{"setup.mode", "slave"},
      {"setup.threshold.A", "-20dBu"},
      {"setup.level.B", "chairman"},
      {"setup.attenuation.conference.cascade", "-20dB"},
      {"setup.startup", "7"}}},
};

// Each lock refuses the parameters it guards — set, get, PUT, GET and the
// REW import alike — hides their values from the stream, and leaves the
// parameters of the other locks free; with every lock set, no parameter is
// left free. The devices receive nothing that would change them.
TEST(LockedPaths, EveryLockRefusesAndHidesTheParametersItGuards) {
  Language::setFlag(1);
  ScratchDir dir{"locked-paths"};
  const std::string filters = dir.file("filters.txt");
  std::ofstream(filters) << "Filter  1: ON  PK  Fc 1000 Hz  Gain -3.0 dB  Q 1.0\n";

  LoopbackDevice ctlDevice;
  editor::EditorSession session;
  ASSERT_EQ(session.open(ctlDevice.target()), "");
  cli::CommandContext context{session, true, [](const std::string&) {}, [] { return false; }};
  cli::CommandRunner ctl(context, ctlDevice.link());

  LoopbackDevice serverDevice;
  server::DeviceService service(serverDevice.target(), serverDevice.link());
  server::ChangeFeed feed(service);
  service.start();
  ASSERT_TRUE(waitUntil([&] { return service.link() == server::DeviceService::Link::Open; }));
  feed.start();
  const int ctlChanges = ctlDevice.changes();
  const int serverChanges = serverDevice.changes();
  const BlockSet ctlWorking = ctlDevice.working();
  const BlockSet serverWorking = serverDevice.working();

  for (const Guard& guard : kGuards) {
    SCOPED_TRACE("lock flag " + std::to_string(guard.flag));
    lockOnly(session.image(), {guard.flag});
    lockOnly(service.image(), {guard.flag});
    for (const auto& [path, value] : guard.paths) {
      expectLocked(ctl.run({"set", path, value}), path);
      expectLocked(ctl.run({"get", path}), path);
      EXPECT_EQ(service.setParameter(path, value).status, 403) << path;
      const server::Reply got = service.getParameter(path);
      EXPECT_EQ(got.status, 403) << path;
      EXPECT_EQ(got.body.value("locked", false), true) << path;
      EXPECT_FALSE(got.body.contains("value")) << got.body.dump();
    }
    if (guard.eqChannel)
      expectLocked(ctl.run({"import-rew", guard.eqChannel, filters}), std::string(guard.eqChannel) + ".eq");
    const Json params = streamedParams(feed, guard.paths.front().first);
    for (const auto& [path, value] : guard.paths) EXPECT_EQ(params[path], Json({{"locked", true}})) << path;
    for (const Guard& other : kGuards) {
      if (other.flag == guard.flag) continue;
      const std::string& free = other.paths.front().first;
      EXPECT_EQ(ctl.run({"get", free}).status, cli::Outcome::Done) << free;
      EXPECT_EQ(service.getParameter(free).status, 200) << free;
      EXPECT_TRUE(params[free].is_string()) << free;
    }
  }

  std::vector<int> everyFlag;
  for (const Guard& guard : kGuards) everyFlag.push_back(guard.flag);
  lockOnly(session.image(), everyFlag);
  for (const control::ParameterPath& path : control::ParameterPath::all())
    EXPECT_EQ(ctl.run({"get", path.name()}).status, cli::Outcome::Failed) << path.name();

  EXPECT_EQ(ctlDevice.changes(), ctlChanges);
  EXPECT_EQ(serverDevice.changes(), serverChanges);
  EXPECT_EQ(ctlDevice.working(), ctlWorking);
  EXPECT_EQ(serverDevice.working(), serverWorking);
}

}  // namespace
}  // namespace orvane
