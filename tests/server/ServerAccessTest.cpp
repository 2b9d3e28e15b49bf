// orvane-server as a program with an installer code and a room code, in
// front of the simulated device: what each level may do, and the small
// traps of the HTTP side — methods a resource does not answer, a POST
// without a body, the wait after wrong codes, a port already taken.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <regex>

#include "support/ChildProcess.h"
#include "support/RawClient.h"
#include "support/ScratchDir.h"
#include "support/ServerProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::HasSubstr;

constexpr const char* kRoomCode = "lectern-22";

// The room may use input A's gain, input B's gain and mute, the master
// level and program 2; the outputs card is empty.
constexpr const char* kPanel = R"({"master": {"level": true, "mute": false},
  "inputs": [{"channel": "A", "controls": ["gain"]}, {"channel": "B"}],
  "outputs": [], "programs": [2]})";

std::string writePanel(const ScratchDir& dir) {
  const std::string file = dir.file("panel.json");
  std::ofstream(file) << kPanel;
  return file;
}

TEST(ServerAccess, TheRoomCodeMayDoWhatThePanelShowsTheInstallerCodeEverything) {
  ScratchDir dir{"server-access"};
  SimulatorProcess sim;
  ServerProcess server("net:" + sim.address(), {"--panel", writePanel(dir), "--room-code", kRoomCode});
  ASSERT_TRUE(server.linked());
  auto installer = server.client();
  auto room = server.client(kRoomCode);
  struct Case {
    const char* method;
    const char* path;
    const char* body;
    int room;
    int installer;
  };
  const Case cases[] = {
      {"GET", "/api/status", "", 200, 200},
      {"GET", "/api/panel", "", 200, 200},
      {"GET", "/api/programs", "", 200, 200},
      {"GET", "/api/meters", "", 200, 200},
      {"GET", "/api/params/out.3.gain", "", 200, 200},  // the stream shows every value anyway
      {"PUT", "/api/params/in.A.gain", "-3dB", 200, 200},
      {"PUT", "/api/params/in.b.MUTE", "on", 200, 200},  // named in another case: the same control
      {"PUT", "/api/params/in.A.mute", "on", 403, 200},  // input A shows its gain only
      {"PUT", "/api/params/in.B.name", "Lectern", 403, 200},
      {"PUT", "/api/params/in.C.gain", "-3dB", 403, 200},
      {"PUT", "/api/params/out.1.gain", "-3dB", 403, 200},
      {"PUT", "/api/params/master.out.level", "-10dB", 200, 200},
      {"PUT", "/api/params/master.out.mute", "off", 403, 200},
      {"PUT", "/api/params/in.A.eq.3.freq", "1kHz", 403, 200},
      {"POST", "/api/programs/2/recall", "", 200, 200},
      {"POST", "/api/programs/3/recall", "", 403, 200},
      {"POST", "/api/programs/2/store", R"({"name": "Hall"})", 403, 200},
      {"GET", "/api/backup", "", 403, 200},
      {"POST", "/api/restore", "", 403, 400},  // the installer sent no file
      {"POST", "/api/nothing", "", 403, 404},  // whatever the panel does not name is the installer's
  };
  for (const Case& c : cases) {
    EXPECT_EQ(room.request(c.method, c.path, c.body).status, c.room) << "room: " << c.method << " " << c.path;
    EXPECT_EQ(installer.request(c.method, c.path, c.body).status, c.installer)
        << "installer: " << c.method << " " << c.path;
  }
  EXPECT_EQ(room.put("/api/params/in.B.name", "x").json()["error"],
            "the room code may not change 'in.B.name'; ask the installer");
  EXPECT_EQ(room.post("/api/programs/7/recall", "").json()["error"],
            "the room code may not recall program 7; ask the installer");

  // A page logged in with the room code keeps the room's level.
  auto page = server.client(nullptr);
  const auto login = page.post("/api/login", std::string(R"({"code": ")") + kRoomCode + "\"}");
  ASSERT_EQ(login.status, 200);
  EXPECT_EQ(login.json()["access"], "room");
  const HttpClient::Headers session{
      {"Cookie", login.header("set-cookie").substr(0, login.header("set-cookie").find(';'))}};
  EXPECT_EQ(page.request("PUT", "/api/params/in.A.gain", "-4dB", session).status, 200);
  EXPECT_EQ(page.request("PUT", "/api/params/in.A.mute", "on", session).status, 403);

  // Wrong codes slow both codes down.
  auto guesser = server.client("wrong-code");
  for (int i = 0; i < 5; ++i) EXPECT_EQ(guesser.get("/api/status").status, 401);
  EXPECT_EQ(room.get("/api/status").status, 429);
  EXPECT_EQ(installer.get("/api/status").status, 429);

  // A room code file holding the installer code is refused.
  const std::string same = dir.file("same");
  std::ofstream(same) << ServerProcess::kCode << "\n";
  ASSERT_EQ(::chmod(same.c_str(), 0600), 0);
  const auto refused = ChildProcess::run(ORVANE_SERVER_PATH,
                                         {"--connect", "net:" + sim.address(), "--listen", "127.0.0.1:0",
                                          "--code", ServerProcess::kCode, "--room-code-file", same},
                                         {}, {"HOME=/nonexistent"}, 10s);
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.err, HasSubstr("the room code and the installer code must differ"));

  // Without a room code the one code is full control, as before. (A device
  // of its own: the server above still holds the first one's link.)
  SimulatorProcess other;
  ServerProcess single("net:" + other.address(), {"--panel", writePanel(dir)});
  ASSERT_TRUE(single.linked());
  EXPECT_EQ(single.client().put("/api/params/in.B.name", "Lectern").status, 200);
}

TEST(ServerAccess, SmallTrapsOfTheHttpSide) {
  SimulatorProcess sim;
  ServerProcess server("net:" + sim.address());
  ASSERT_TRUE(server.linked());
  auto api = server.client();
  struct Case {
    const char* method;
    const char* path;
    int status;
    const char* allow;  // the Allow header of a 405
  };
  const Case cases[] = {
      {"DELETE", "/api/status", 405, "GET, HEAD"},
      {"PUT", "/api/programs", 405, "GET, HEAD"},
      {"GET", "/api/programs/2/recall", 405, "POST"},
      {"GET", "/api/programs/2/store", 405, "POST"},
      {"POST", "/api/backup", 405, "GET"},
      {"GET", "/api/restore", 405, "POST"},
      {"GET", "/api/login", 405, "POST"},
      {"HEAD", "/api/events", 405, "GET"},
      {"DELETE", "/api/params/in.A.gain", 405, "GET, HEAD, PUT"},
      {"POST", "/", 405, "GET, HEAD"},
      {"PUT", "/app.js?v=2", 405, "GET, HEAD"},
      {"GET", "/api/nothing", 404, ""},
      {"POST", "/api/programs/2/nothing", 404, ""},
      {"POST", "/nothing.html", 404, ""},
  };
  for (const Case& c : cases) {
    const auto reply = api.request(c.method, c.path);
    EXPECT_EQ(reply.status, c.status) << c.method << " " << c.path;
    EXPECT_EQ(reply.header("allow"), c.allow) << c.method << " " << c.path;
  }

  // A POST without a body, not even a Content-Length, is one with an
  // empty body.
  RawClient raw(server.port(), "127.0.0.1");
  ASSERT_TRUE(raw.send("POST /api/programs/2/recall HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Orvane-Code: " +
                       std::string(ServerProcess::kCode) + "\r\n\r\n"));
  EXPECT_EQ(raw.status(10s), 200);

  // The wait after wrong codes is named in the answer, as Retry-After says it.
  auto guesser = server.client("wrong-code", "127.0.0.3");
  for (int i = 0; i < 5; ++i) guesser.get("/api/status");
  const auto refused = guesser.get("/api/status");
  ASSERT_EQ(refused.status, 429);
  std::smatch wait;
  const std::string error = refused.json()["error"];
  ASSERT_TRUE(std::regex_match(error, wait, std::regex("too many wrong codes; try again in ([0-9]+) s")))
      << error;
  EXPECT_EQ(wait[1], refused.header("retry-after"));

  // A second server on the same port fails and says why: the port is not
  // shared.
  const std::string taken = "127.0.0.1:" + std::to_string(server.port());
  const auto second = ChildProcess::run(
      ORVANE_SERVER_PATH,
      {"--connect", "net:" + sim.address(), "--listen", taken, "--code", ServerProcess::kCode}, {},
      {"HOME=/nonexistent"}, 10s);
  EXPECT_EQ(second.status, 1);
  EXPECT_THAT(second.err, HasSubstr(taken + " is already in use by another program"));
  EXPECT_EQ(server.client().get("/api/status").status, 200);  // the first one serves on
}

}  // namespace
}  // namespace orvane
