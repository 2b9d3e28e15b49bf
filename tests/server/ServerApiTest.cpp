// orvane-server as a program in front of the simulated device, used over
// loopback as a page and a room-control system use it: every endpoint and
// error status, the live stream, the access code and its rate limit.

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <thread>

#include "LockedDevice.h"
#include "model/ChannelRecords.h"
#include "sim/DeviceStateFile.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

constexpr const char* kCode = "room-4711";

// The server in front of `link`, on a free port, with the test's code.
class Server {
 public:
  explicit Server(const std::string& link, std::vector<std::string> extra = {})
      : process_(ORVANE_SERVER_PATH, arguments(link, std::move(extra)), {"HOME=/nonexistent"}) {
    const auto line = process_.readLine(10s);
    if (line && line->find("http://127.0.0.1:") != std::string::npos)
      port_ = std::stoi(line->substr(line->find("127.0.0.1:") + 10));
  }

  int port() const { return port_; }
  // A client that sends the access code with every request.
  httplib::Client client(const char* code = kCode) const {
    httplib::Client c("127.0.0.1", port_);
    c.set_read_timeout(10s);
    if (code) c.set_default_headers({{"X-Orvane-Code", code}});
    return c;
  }
  // Waits until the server's link is open.
  bool linked() const {
    auto c = client();
    for (int i = 0; i < 200; ++i) {
      const auto reply = c.Get("/api/status");
      if (reply && Json::parse(reply->body)["link"] == "open") return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

 private:
  static std::vector<std::string> arguments(const std::string& link, std::vector<std::string> extra) {
    extra.insert(extra.begin(), {"--connect", link, "--listen", "127.0.0.1:0", "--code", kCode});
    return extra;
  }

  ChildProcess process_;
  int port_ = 0;
};

int statusOf(const httplib::Result& result) {
  return result ? result->status : -1;
}

Json bodyOf(const httplib::Result& result) {
  return result ? Json::parse(result->body, nullptr, false) : Json();
}

TEST(ServerApi, EveryEndpointWithItsErrorsAndAChangeReachingTheDevice) {
  ScratchDir dir{"server"};
  const std::string stateFile = dir.file("device.bin");
  SimulatorProcess sim({"--state", stateFile});
  Server server("net:" + sim.address());
  ASSERT_GT(server.port(), 0);
  ASSERT_TRUE(server.linked());
  auto api = server.client();

  const Json status = bodyOf(api.Get("/api/status"));
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
      {"PUT", "/api/params/in.C.gain", R"({"value": "+40dB"})", 200},  // to +12 dB, as the editor does
      {"PUT", "/api/params/in.C.gain", R"({"level": "1"})", 400},
      {"GET", "/api/params/in.Z.gain", "", 404},
      {"PUT", "/api/params/nothing", "1", 404},
      {"GET", "/api/programs", "", 200},
      {"GET", "/api/meters", "", 200},
      {"GET", "/api/panel", "", 200},
      {"GET", "/api/nothing", "", 404},
  };
  for (const Case& c : cases) {
    const std::string method = c.method;
    const auto result = method == "GET"   ? api.Get(c.path)
                        : method == "PUT" ? api.Put(c.path, c.body, "application/json")
                                          : api.Post(c.path, c.body, "application/json");
    EXPECT_EQ(statusOf(result), c.status) << c.method << " " << c.path << " " << c.body;
    EXPECT_TRUE(bodyOf(result).is_object()) << c.path;  // errors too come as JSON
  }
  EXPECT_EQ(bodyOf(api.Get("/api/params/in.C.gain"))["value"], "12.0dB");
  EXPECT_EQ(bodyOf(api.Get("/api/programs"))["programs"].size(), 30u);
  EXPECT_EQ(bodyOf(api.Get("/api/meters"))["inputs"].size(), 8u);
  for (const char* input : {"in.C", "in.D"})
    ASSERT_EQ(statusOf(api.Put(std::string("/api/params/") + input + ".gain", "-4.5dB", "text/plain")), 200);

  // A page of another site may not change anything, even with the code.
  httplib::Headers foreign{{"X-Orvane-Code", kCode}, {"Origin", "http://example.invalid"}};
  EXPECT_EQ(statusOf(api.Put("/api/params/in.C.gain", foreign, "0dB", "text/plain")), 403);

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
  EXPECT_EQ(statusOf(api.Put("/api/params/in.A.gain", "-3dB", "text/plain")), 403);
  const auto lockedGain = api.Get("/api/params/in.A.gain");  // neither changed nor shown
  EXPECT_EQ(statusOf(lockedGain), 403);
  EXPECT_EQ(bodyOf(lockedGain)["locked"], true);
  EXPECT_FALSE(bodyOf(lockedGain).contains("value"));
  EXPECT_EQ(statusOf(api.Put("/api/params/in.A.mute", "on", "text/plain")), 200);
  EXPECT_EQ(statusOf(api.Post("/api/programs/1/recall", "", "text/plain")), 403);

  sim.stop();
  for (int i = 0; i < 100 && bodyOf(api.Get("/api/status"))["link"] == "open"; ++i)
    std::this_thread::sleep_for(50ms);
  EXPECT_NE(bodyOf(api.Get("/api/status"))["link"], "open");
  EXPECT_EQ(statusOf(api.Get("/api/params/in.A.gain")), 409);
  EXPECT_EQ(statusOf(api.Put("/api/params/in.A.mute", "off", "text/plain")), 409);
}

// Two pages: what one changes, the other's stream announces.
TEST(ServerApi, TheStreamAnnouncesAChangeMadeByAnotherClient) {
  SimulatorProcess sim;
  Server server("net:" + sim.address());
  ASSERT_TRUE(server.linked());
  std::atomic<bool> announced{false};
  std::string stream;
  auto watcher = server.client();
  std::thread reader([&] {
    watcher.Get("/api/events", [&](const char* data, std::size_t size) {
      stream.append(data, size);
      if (stream.find(R"("in.B.gain":"-7.5dB")") != std::string::npos) announced = true;
      return !announced;
    });
  });
  std::this_thread::sleep_for(300ms);
  auto other = server.client();
  EXPECT_EQ(statusOf(other.Put("/api/params/in.B.gain", "-7.5dB", "text/plain")), 200);
  for (int i = 0; i < 100 && !announced; ++i) std::this_thread::sleep_for(50ms);
  EXPECT_TRUE(announced);
  watcher.stop();
  reader.join();
}

TEST(ServerApi, TheAccessCodeIsNeededAndWrongCodesAreSlowedDown) {
  SimulatorProcess sim;
  Server server("net:" + sim.address());
  ASSERT_GT(server.port(), 0);
  auto none = server.client(nullptr);
  EXPECT_EQ(statusOf(none.Get("/api/status")), 401);
  EXPECT_EQ(statusOf(none.Get("/")), 200);  // the page asks for the code itself

  const auto login = none.Post("/api/login", R"({"code": "room-4711"})", "application/json");
  ASSERT_EQ(statusOf(login), 200);
  const std::string cookie = login->get_header_value("Set-Cookie");
  EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
  EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
  EXPECT_EQ(statusOf(none.Get("/api/status", {{"Cookie", cookie.substr(0, cookie.find(';'))}})), 200);

  auto guesser = server.client("guess");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(statusOf(guesser.Get("/api/status")), 401);
  EXPECT_EQ(statusOf(none.Post("/api/login", R"({"code": "guess"})", "application/json")), 401);
  EXPECT_EQ(statusOf(guesser.Get("/api/status")), 429);
  EXPECT_EQ(statusOf(server.client().Get("/api/status")), 429);  // even the right code, for a while
}

}  // namespace
}  // namespace orvane
