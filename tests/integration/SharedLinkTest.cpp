// A room that shares one device, as the README sets it up: orvane-server
// keeps the device's only link, a cron-like loop runs orvanectl through the
// server (--connect server:...) and a control page follows the live
// stream, all at once against the simulator. A device serves one link at a
// time, so a direct orvanectl would take the link from the server; through
// the server no call fails and the link is never lost. Before that, the
// route is held to what the direct link prints and to its exit statuses.
//
// ORVANE_ROUTE_SECONDS sets how long the shared run lasts (60 s by default).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/ParseNumber.h"
#include "support/ChildProcess.h"
#include "support/ScratchDir.h"
#include "support/ServerProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kSharedRun = 60s;
const std::string kCodeVariable = std::string("ORVANE_SERVER_CODE=") + ServerProcess::kCode;

std::chrono::seconds sharedRun() {
  const char* text = std::getenv("ORVANE_ROUTE_SECONDS");
  return text ? std::chrono::seconds(parseNumber(text, 1, 7 * 24 * 3600).value_or(kSharedRun.count()))
              : kSharedRun;
}

ChildProcess::Result ctl(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {kCodeVariable},
                         const std::string& input = {}) {
  return ChildProcess::run(ORVANECTL_PATH, args, input, environment);
}

// orvanectl through the server at `route`.
ChildProcess::Result routed(const std::string& route, const std::vector<std::string>& args,
                            const std::vector<std::string>& environment = {kCodeVariable},
                            const std::string& input = {}) {
  std::vector<std::string> line{"--connect", route};
  line.insert(line.end(), args.begin(), args.end());
  return ctl(line, environment, input);
}

TEST(SharedLink, TheRouteSpeaksAsTheDirectLinkAndCronCallsAndTheControlPageShareItWithoutALoss) {
  ScratchDir dir("shared-link");
  SimulatorProcess sim({"--moving-levels"});
  ASSERT_TRUE(sim.started());
  const std::string device = "net:" + sim.address();
  const std::string one = dir.file("talk.dia1j");
  // One batch, in text and in JSON, directly and then through the server:
  // the same words. It stores the program it recalls, so that both runs
  // start alike.
  const std::string commands = "store 7 Lecture\nrecall 7\nprograms\nset out.2.gain -4.5dB\nget out.2.gain\n";
  const auto batch = [&](const std::string& link, bool json) {
    std::vector<std::string> args{"--connect", link, "batch"};
    if (json) args.insert(args.begin(), "--json");
    return ctl(args, {kCodeVariable}, commands);
  };
  const ChildProcess::Result direct[] = {batch(device, false), batch(device, true)};
  ASSERT_EQ(ctl({"--connect", device, "save", one}).status, 0);

  ServerProcess server(device);
  ASSERT_TRUE(server.linked());
  const std::string route = "server:127.0.0.1:" + std::to_string(server.port());
  for (const bool json : {false, true}) {
    const ChildProcess::Result result = batch(route, json);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, direct[json].out);
    EXPECT_NE(result.out.find("Lecture"), std::string::npos);
  }

  const std::string privateCode = dir.file("code"), sharedCode = dir.file("shared-code");
  for (const auto& file : {privateCode, sharedCode}) std::ofstream(file) << ServerProcess::kCode << "\n";
  ::chmod(privateCode.c_str(), 0600);
  ::chmod(sharedCode.c_str(), 0644);
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> environment;
    int status;
    std::string message;
  };
  const std::vector<Case> cases{
      {{"--code-file", privateCode, "get", "in.A.gain"}, {}, 0, ""},
      {{"--code-file", sharedCode, "get", "in.A.gain"}, {}, 1, "chmod 600"},
      {{"get", "in.A.gain"}, {}, 2, "ORVANE_SERVER_CODE or give --code-file"},
      {{"get", "in.A.gain"}, {"ORVANE_SERVER_CODE=not-the-code"}, 1, "refused the access code"},
      {{"report"}, {kCodeVariable}, 2, "'report' needs a direct link to the device"},
      {{"set", "in.A.gain", "-99dB"}, {kCodeVariable}, 2, "in.A.gain"},
      {{"recall", "31"}, {kCodeVariable}, 2, "program '31' is not a number from 1 to 30"},
      {{"store", "3", ""}, {kCodeVariable}, 2, "name"},
      {{"restore", one}, {kCodeVariable}, 2, "'" + one + "' is a one-program file: use load for it"},
      {{"restore", dir.file("missing.dat1j")}, {kCodeVariable}, 1, "cannot read the file"},
      {{"backup", dir.file("no-such-folder/all.dat1j")}, {kCodeVariable}, 1, "cannot write the file"},
      {{"--keep-going", "batch"}, {kCodeVariable}, 2, "line 2: 'delete' needs a direct link"},
  };
  for (const Case& c : cases) {
    const auto result = routed(route, c.args, c.environment, "get in.A.gain\ndelete 3\nprograms\n");
    EXPECT_EQ(result.status, c.status) << c.args.back() << ": " << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.args.back() << ": " << result.err;
  }

  // The watch of the meters runs until interrupted, as on a direct link.
  ChildProcess watch(ORVANECTL_PATH, {"--connect", route, "meters", "--watch"}, {kCodeVariable});
  for (int line = 0; line < 3; ++line) EXPECT_TRUE(watch.readLine(10s)) << line;
  watch.interrupt();
  EXPECT_EQ(watch.finish(10s).status, 0);

  // The endpoints the route uses, as a room-control system calls them: the
  // backup is the file orvanectl writes, and goes back as it came.
  const std::string saved = dir.file("all.dat1j");
  ASSERT_EQ(routed(route, {"backup", saved}).status, 0);
  HttpClient api = server.client();
  const HttpClient::Response backup = api.get("/api/backup");
  EXPECT_EQ(backup.status, 200);
  EXPECT_EQ(backup.header("content-type"), "application/octet-stream");
  std::ifstream file(saved, std::ios::binary);
  EXPECT_EQ(backup.body, std::string(std::istreambuf_iterator<char>(file), {}));
  EXPECT_EQ(api.post("/api/restore", backup.body).status, 200);
  EXPECT_EQ(api.post("/api/restore", "no program file").json().value("error", ""),
            "the file sent is not an all-programs file of this model");
  EXPECT_EQ(api.post("/api/programs/3/store", "{}").status, 400);
  EXPECT_EQ(api.post("/api/programs/0/store", R"({"name":"Talk"})").status, 400);
  EXPECT_EQ(api.post("/api/restore", std::string(70 * 1024, 'x')).status, 413);

  // The shared run: the control page follows the stream while the cron-like
  // loop goes through every command the route offers.
  const std::string nightly = dir.file("nightly.dat1j");
  std::atomic<bool> done{false};
  std::atomic<int> events{0};
  std::string stream;
  std::thread page([&] {
    HttpClient watcher = server.client();
    stream = watcher.follow(
        "/api/events",
        [&](const std::string& read) {
          events = static_cast<int>(std::count(read.begin(), read.end(), '\n'));
          return done.load();
        },
        sharedRun() + 120s);
  });
  int calls = 0;
  std::vector<std::string> failures;
  const auto call = [&](const std::vector<std::string>& args, const std::string& expected = {}) {
    const ChildProcess::Result result = routed(route, args);
    ++calls;
    if (result.status != 0 || result.out.find(expected) == std::string::npos)
      failures.push_back(args[0] + " exited " + std::to_string(result.status) + ": " + result.err +
                         result.out);
  };
  const auto end = Clock::now() + sharedRun();
  for (int round = 0; Clock::now() < end && failures.empty(); ++round) {
    const std::string gain = round % 2 ? "-6.5dB" : "-3.0dB";
    const std::string program = std::to_string(round % 30 + 1);
    call({"set", "in.A.gain", gain}, "in.A.gain = " + gain);
    call({"get", "in.A.gain"}, gain);
    call({"status"}, "device:   KVS7304");
    call({"programs"}, "30");
    call({"store", program, "Round " + std::to_string(round)}, "stored program " + program);
    call({"recall", program}, "recalled program " + program + " Round " + std::to_string(round));
    call({"meters"}, "A ");
    call({"backup", nightly}, "saved all 30 programs");
    call({"restore", nightly}, "stored all 30 programs");
  }
  done = true;
  page.join();
  server.process().interrupt();
  const std::string log = server.process().finish(5s).err;

  std::printf("shared link: %d orvanectl calls through the server, %d lines of the live stream\n", calls,
              events.load());
  EXPECT_TRUE(failures.empty()) << failures.front();
  EXPECT_GT(calls, 9);
  EXPECT_GT(events.load(), 10);
  EXPECT_EQ(stream.find(R"("link":"lost")"), std::string::npos);
  EXPECT_EQ(log.find("lost"), std::string::npos) << log;
  const auto gone = routed(route, {"status"});
  EXPECT_EQ(gone.status, 1);
  EXPECT_NE(gone.err.find("cannot reach the server at 127.0.0.1:"), std::string::npos) << gone.err;
  EXPECT_NE(gone.err.find("connection refused"), std::string::npos) << gone.err;
}

}  // namespace
}  // namespace orvane
