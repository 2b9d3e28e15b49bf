// orvane-server as a program in front of the simulated device, used over
// loopback as a page and a room-control system use it: every endpoint and
// error status, the live stream, the access code and its rate limit.

#include <gtest/gtest.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <thread>

#include "LockedDevice.h"
#include "model/ChannelRecords.h"
#include "platform/Event.h"
#include "sim/DeviceStateFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"
#include "support/ServerProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

constexpr const char* kCode = ServerProcess::kCode;
using Server = ServerProcess;

TEST(ServerApi, EveryEndpointWithItsErrorsAndAChangeReachingTheDevice) {
  ScratchDir dir{"server"};
  const std::string stateFile = dir.file("device.bin");
  SimulatorProcess sim({"--state", stateFile});
  Server server("net:" + sim.address());
  ASSERT_GT(server.port(), 0);
  ASSERT_TRUE(server.linked());
  auto api = server.client();

  const Json status = api.get("/api/status").json();
  EXPECT_EQ(status["firmware"].get<std::string>().substr(0, 4), "J-DV");
  EXPECT_EQ(status["model"], 7304);
  struct Case {
    const char* method;
    const char* path;
    const char* body;
    int status;
  };
  const Case cases[] = {
      {"POST", "/api/programs/2/recall", "", 200},
      {"POST", "/api/programs/31/recall", "", 400},
      {"GET", "/api/params/in.A.gain", "", 200},
      {"PUT", "/api/params/in.C.gain", R"({"value": "-4.5dB"})", 200},
      {"PUT", "/api/params/out.2.mute", "on", 200},
      {"PUT", "/api/params/in.C.gain", R"({"value": "loud"})", 400},
      {"PUT", "/api/params/in.C.gain", R"({"value": "+40dB"})", 400},  // outside -30 .. 12 dB: refused
      {"PUT", "/api/params/in.C.gain", R"({"value": "+12dB"})", 200},
      {"PUT", "/api/params/in.C.gain", R"({"level": "1"})", 400},
      {"GET", "/api/params/in.Z.gain", "", 404},
      {"PUT", "/api/params/nothing", "1", 404},
      {"GET", "/api/programs", "", 200},
      {"GET", "/api/meters", "", 200},
      {"GET", "/api/panel", "", 200},
      {"GET", "/api/nothing", "", 404},
  };
  for (const Case& c : cases) {
    const auto result = api.request(c.method, c.path, c.body);
    EXPECT_EQ(result.status, c.status) << c.method << " " << c.path << " " << c.body;
    EXPECT_TRUE(result.json().is_object()) << c.path;  // errors too come as JSON
  }
  EXPECT_EQ(api.get("/api/params/in.C.gain").json()["value"], "12.0dB");
  EXPECT_EQ(api.get("/api/programs").json()["programs"].size(), 30u);
  EXPECT_EQ(api.get("/api/meters").json()["inputs"].size(), 8u);
  for (const char* input : {"in.C", "in.D"})
    ASSERT_EQ(api.put(std::string("/api/params/") + input + ".gain", "-4.5dB").status, 200);

  // A page of another site may not change anything, even with the code.
  EXPECT_EQ(api.request("PUT", "/api/params/in.C.gain", "0dB", {{"Origin", "http://example.invalid"}}).status,
            403);

  sim.finish();
  DeviceData device;
  ASSERT_FALSE(DeviceStateFile::load(stateFile, device));
  for (const int input : {2, 3})  // 0.1 dB, 0 dB at 300
    EXPECT_EQ(readField(device.working.block(Side::Input, input), InputField::Gain), 255);
  EXPECT_EQ(readField(device.working.block(Side::Output, 1), CommonField::Mute), 0);  // 1 while it sounds
}

TEST(ServerApi, LockedFunctionsAndAMissingLinkAreRefused) {
  ScratchDir dir{"server"};
  const std::string stateFile = dir.file("locked.bin");
  ASSERT_TRUE(writeLockedDevice(stateFile, {LockFlag::InputGain, LockFlag::LoadProgram}));
  SimulatorProcess sim({"--state", stateFile});
  Server server("net:" + sim.address());
  ASSERT_TRUE(server.linked());
  auto api = server.client();
  EXPECT_EQ(api.put("/api/params/in.A.gain", "-3dB").status, 403);
  const auto lockedGain = api.get("/api/params/in.A.gain");  // neither changed nor shown
  EXPECT_EQ(lockedGain.status, 403);
  EXPECT_EQ(lockedGain.json()["locked"], true);
  EXPECT_FALSE(lockedGain.json().contains("value"));
  EXPECT_EQ(api.put("/api/params/in.A.mute", "on").status, 200);
  EXPECT_EQ(api.post("/api/programs/1/recall", "").status, 403);

  // The server's log names each change of the device link once.
  const auto logLine = [&] { return server.process().readLine(5s, ChildProcess::Stream::Err).value_or(""); };
  EXPECT_NE(logLine().find("opening the link to the device"), std::string::npos);
  EXPECT_NE(logLine().find("is open"), std::string::npos);
  sim.stop();
  EXPECT_NE(logLine().find("lost the link to the device"), std::string::npos);
  EXPECT_NE(logLine().find("no link to the device"), std::string::npos);
  for (int i = 0; i < 100 && api.get("/api/status").json()["link"] == "open"; ++i)
    std::this_thread::sleep_for(50ms);
  EXPECT_NE(api.get("/api/status").json()["link"], "open");
  EXPECT_EQ(api.get("/api/params/in.A.gain").status, 409);
  EXPECT_EQ(api.put("/api/params/in.A.mute", "off").status, 409);
}

// Two pages: what one changes, the other's stream announces.
TEST(ServerApi, TheStreamAnnouncesAChangeMadeByAnotherClient) {
  SimulatorProcess sim;
  Server server("net:" + sim.address());
  ASSERT_TRUE(server.linked());
  std::atomic<bool> announced{false};
  Event following;  // the stream has answered: the watcher is subscribed
  auto watcher = server.client();
  std::thread reader([&] {
    watcher.follow(
        "/api/events",
        [&](const std::string& stream) {
          following.set();
          announced = stream.find(R"("in.B.gain":"-7.5dB")") != std::string::npos;
          return announced.load();
        },
        10s);
  });
  EXPECT_TRUE(following.wait(10s));
  auto other = server.client();
  EXPECT_EQ(other.put("/api/params/in.B.gain", "-7.5dB").status, 200);
  reader.join();
  EXPECT_TRUE(announced);
}

TEST(ServerApi, TheAccessCodeIsNeededAndWrongCodesAreSlowedDown) {
  SimulatorProcess sim;
  Server server("net:" + sim.address());
  ASSERT_GT(server.port(), 0);
  auto none = server.client(nullptr);
  EXPECT_EQ(none.get("/api/status").status, 401);
  EXPECT_EQ(none.get("/").status, 200);  // the page asks for the code itself

  const auto login = none.post("/api/login", R"({"code": "room-4711"})");
  ASSERT_EQ(login.status, 200);
  const std::string cookie = login.header("set-cookie");
  EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
  EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
  EXPECT_EQ(cookie.find(kCode), std::string::npos);  // a session token, not the code
  const std::string session = cookie.substr(0, cookie.find(';'));
  EXPECT_EQ(none.get("/api/status", {{"Cookie", session}}).status, 200);
  EXPECT_EQ(none.get("/api/status", {{"Cookie", "orvane_session=0123"}}).status, 401);

  auto guesser = server.client("guess");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(guesser.get("/api/status").status, 401);
  EXPECT_EQ(none.post("/api/login", R"({"code": "guess"})").status, 401);
  EXPECT_EQ(guesser.get("/api/status").status, 429);
  EXPECT_EQ(server.client().get("/api/status").status, 429);  // even the right code, for a while
  EXPECT_EQ(none.post("/api/login", R"({"code": "room-4711"})").status, 429);
  // A page logged in before keeps working meanwhile.
  EXPECT_EQ(none.get("/api/status", {{"Cookie", session}}).status, 200);
}

// Each request names the host it is meant for; a page of another site that
// made its own name point here (DNS rebinding) is refused, as are pages of
// another site that try to change something.
TEST(ServerApi, RequestsForAnotherHostOrFromAnotherSiteAreRefused) {
  SimulatorProcess sim;
  Server server("net:" + sim.address(), {"--host", "Room-PC", "--behind-proxy"});
  auto api = server.client();
  const std::string own = "127.0.0.1:" + std::to_string(server.port());
  struct Case {
    const char* host;
    HttpClient::Headers more;
    const char* method;
    int status;
  };
  const Case cases[] = {
      {"evil.example", {}, "GET", 421},
      {"", {}, "GET", 421},
      {"localhost:1234", {}, "GET", 200},
      {"room-pc", {}, "GET", 200},
      {"ROOM-PC:443", {}, "GET", 200},
      {"127.0.0.2", {}, "GET", 421},
      {"room-pc", {{"Origin", "http://room-pc"}}, "PUT", 200},
      {"room-pc", {{"Origin", "https://room-pc"}}, "PUT", 403},
      {"room-pc", {{"Origin", "https://room-pc"}, {"X-Forwarded-Proto", "https"}}, "PUT", 200},
      {"room-pc", {{"Origin", "http://room-pc"}, {"X-Forwarded-Proto", "https"}}, "PUT", 403},
      {"room-pc", {{"Sec-Fetch-Site", "cross-site"}}, "PUT", 403},
  };
  ASSERT_TRUE(server.linked());
  for (const Case& c : cases) {
    HttpClient::Headers headers = c.more;
    headers["Host"] = c.host;
    const bool put = std::string(c.method) == "PUT";
    const auto reply =
        api.request(c.method, put ? "/api/params/in.D.mute" : "/api/status", put ? "on" : "", headers);
    EXPECT_EQ(reply.status, c.status) << c.host << " " << c.method;
  }
  EXPECT_EQ(api.get("/api/status", {{"Host", own}}).status, 200);
  const auto login = api.request("POST", "/api/login", R"({"code": "room-4711"})",
                                 {{"Host", "room-pc"}, {"X-Forwarded-Proto", "https"}});
  EXPECT_NE(login.header("set-cookie").find("; Secure"), std::string::npos);
}

}  // namespace
}  // namespace orvane
