// The server's link keeper against simulated devices on loopback: a first
// open that fails is closed and tried again until the device behaves, the
// link state is read safely while the link comes and goes, commands answer
// within their bounds without a link or a willing device, and the server
// program ends soon after SIGTERM even while it is still opening the link.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <regex>
#include <thread>

#include "editor/EditorSession.h"
#include "protocol/SendData.h"
#include "server/DeviceService.h"
#include "sim/TcpDeviceServer.h"
#include "support/ChildProcess.h"
#include "support/ServerProcess.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using server::DeviceService;
using testing::HasSubstr;
using Clock = std::chrono::steady_clock;

// A device that stops answering is given up after three waits of this.
Timings quickTimings() {
  Timings timings = editor::EditorSession::defaultTimings();
  timings.netReceiveTimeout = 300ms;
  return timings;
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

template <class Done>
bool eventually(Done&& done, std::chrono::seconds limit = 30s) {
  for (const auto deadline = Clock::now() + limit; Clock::now() < deadline;) {
    if (done()) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

// A simulated device on a free port of 127.0.0.1. Once told to, it goes
// silent at the first request for the start-up program, which comes in
// the full read after the firmware check.
struct Device {
  Device() {
    responder.setRequestObserver([this](const SendData& request) {
      ++requests;
      if (silentInRead && request.item() == SystemItem::StartupProgram) responder.setFaults({.dropEvery = 1});
    });
    server.start("127.0.0.1", 0);
  }
  std::string link() const { return "net:127.0.0.1:" + std::to_string(server.port()); }
  ConnectTarget target() const { return *ConnectTarget::parse(link()); }

  DeviceState state;
  DeviceResponder responder{state};
  TcpDeviceServer server{responder};
  std::atomic<bool> silentInRead{false};
  std::atomic<int> requests{0};  // every request heard, answered or not
};

struct FailedOpen {
  const char* name;
  std::function<void(Device&)> misbehave;
  std::function<void(Device&)> behave;
  const char* error;
};

const std::vector<FailedOpen> kFailedOpens{
    {"firmware refused", [](Device& d) { d.state.setFirmwareVersion("J-DV2.00"); },
     [](Device& d) {
       d.state.setFirmwareVersion(DeviceState::factoryFirmware(ProductVariant::forModel(7304)));
     },
     "is newer than this tool"},
    {"silent in the full read", [](Device& d) { d.silentInRead = true; },
     [](Device& d) {
       d.silentInRead = false;
       d.responder.setFaults({});
     },
     "the link to the device was lost"},
};

// A failed open leaves the session closed, so that it opens again once the
// device behaves; the server's keeper does the same by itself.
TEST(DeviceService, AFailedFirstOpenIsTriedAgainUntilTheDeviceBehaves) {
  for (const FailedOpen& c : kFailedOpens) {
    SCOPED_TRACE(c.name);
    Device device;
    c.misbehave(device);
    editor::EditorSession session(quickTimings());
    EXPECT_THAT(session.open(device.target(), 20s), HasSubstr(c.error));
    EXPECT_EQ(session.image().read([](const ImageData& d) { return d.connection.linkType; }), LinkType::None);
    c.behave(device);
    EXPECT_EQ(session.open(device.target(), 20s), "");
    session.close();

    c.misbehave(device);
    DeviceService service(device.target(), device.link(), {.timings = quickTimings()});
    service.start();
    std::string error;
    ASSERT_TRUE(eventually([&] {
      error = service.status().body.value("lastError", "");
      return !error.empty();
    }));
    EXPECT_THAT(error, HasSubstr(c.error));
    c.behave(device);
    EXPECT_TRUE(eventually([&] { return service.link() == DeviceService::Link::Open; }));
    EXPECT_EQ(service.programs().status, 200);
  }
}

// Readers of the link state on other threads, as the HTTP side and the
// change feed are, while the link comes and goes: first the session's own
// count since the open, read without pause through ten opens (the server's
// readers reach it only while the link is open), then the server's state
// and status while its keeper opens the link again after two losses.
TEST(DeviceService, TheLinkStateIsReadSafelyWhileTheLinkComesAndGoes) {
  Device device;
  {
    editor::EditorSession session(quickTimings());
    std::vector<std::jthread> readers;
    for (int i = 0; i < 2; ++i)
      readers.emplace_back([&](std::stop_token stop) {
        while (!stop.stop_requested()) (void)session.linkLost();
      });
    for (int open = 0; open < 10; ++open) {
      ASSERT_EQ(session.open(device.target()), "");
      session.close();
    }
  }
  DeviceService service(device.target(), device.link(), {.timings = quickTimings()});
  service.start();
  ASSERT_TRUE(eventually([&] { return service.link() == DeviceService::Link::Open; }));
  std::atomic<int> notOpen{0};
  std::vector<std::jthread> readers;
  for (int i = 0; i < 3; ++i)
    readers.emplace_back([&, i](std::stop_token stop) {
      while (!stop.stop_requested()) {
        if (service.link() != DeviceService::Link::Open) ++notOpen;
        if (i == 0) {
          EXPECT_EQ(service.status().status, 200);
        }
        std::this_thread::sleep_for(1ms);
      }
    });
  for (int loss = 1; loss <= 2; ++loss) {
    SCOPED_TRACE(loss);
    ASSERT_TRUE(device.server.setRefusing(true));
    device.server.dropConnection();
    EXPECT_TRUE(eventually([&] { return service.link() != DeviceService::Link::Open; }));
    ASSERT_TRUE(device.server.setRefusing(false));
    EXPECT_TRUE(eventually([&] { return service.link() == DeviceService::Link::Open; }));
  }
  readers.clear();
  EXPECT_GT(notOpen, 0);
}

// Without a link — the keeper busy opening it on a device that never
// answers, for three replies' waits of the device's own timing — the
// commands refuse at once; with a device that keeps the link
// but takes nothing, a change fails after the device wait, not the five
// minutes a command-line tool allows.
TEST(DeviceService, CommandsAnswerWithinTheirBounds) {
  {
    Device silent;
    silent.responder.setFaults({.dropEvery = 1});
    DeviceService service(silent.target(), silent.link());
    service.start();
    ASSERT_TRUE(eventually([&] { return silent.requests > 0; }));  // the keeper is opening the link
    const auto start = Clock::now();
    EXPECT_EQ(service.programs().status, 409);
    EXPECT_EQ(service.recall("3").status, 409);
    EXPECT_EQ(service.setParameter("in.A.mute", "on").status, 409);
    EXPECT_LT(secondsSince(start), 2.0);
  }
  Device garbling;
  DeviceService service(garbling.target(), garbling.link(), {.timings = quickTimings()});
  service.start();
  ASSERT_TRUE(eventually([&] { return service.link() == DeviceService::Link::Open; }));
  garbling.responder.setFaults({.corruptEvery = 1});
  for (const auto& command : std::vector<std::function<server::Reply()>>{
           [&] { return service.setParameter("in.A.mute", "on"); }, [&] { return service.recall("2"); }}) {
    const auto start = Clock::now();
    const server::Reply reply = command();
    EXPECT_EQ(reply.status, 502) << reply.body.dump();
    EXPECT_LT(secondsSince(start), 3.0 * DeviceService::kDeviceWait.count());
    EXPECT_EQ(service.link(), DeviceService::Link::Open);
  }
}

// orvane-server started before its device: it says on its error output,
// each line with the time, that it opens the link, why the open failed and
// when it tries again, and /api/status carries the reason; once the device
// is there the link opens and the log says so.
TEST(DeviceService, TheServerLogsEveryChangeOfItsLinkAndItsStatusNamesTheLastError) {
  int port = 0;
  {
    Device before;  // a port of 127.0.0.1 that nothing listens on once it is gone
    port = before.server.port();
  }
  const std::string link = "net:127.0.0.1:" + std::to_string(port);
  ServerProcess server(link);
  ASSERT_GT(server.port(), 0);
  const std::regex line(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d orvane-server: (.*))");
  const auto logged = [&] {
    const std::string text = server.process().readLine(30s, ChildProcess::Stream::Err).value_or("");
    std::smatch parts;
    return std::regex_match(text, parts, line) ? parts[1].str() : "(no time) " + text;
  };
  EXPECT_EQ(logged(), "opening the link to the device on " + link);
  const std::string failed = logged();
  EXPECT_THAT(failed, HasSubstr("no link to the device on " + link + ": nothing answers at "));
  EXPECT_THAT(failed, HasSubstr("; trying again every 2 s"));
  auto api = server.client();
  const auto status = api.get("/api/status").json();
  EXPECT_NE(status["link"], "open");
  EXPECT_THAT(status.value("lastError", ""), HasSubstr("connection refused"));

  DeviceState state;
  DeviceResponder responder{state};
  TcpDeviceServer device{responder};
  ASSERT_TRUE(device.start("127.0.0.1", port));
  EXPECT_EQ(logged(), "the link to the device on " + link + " is open");
  ASSERT_TRUE(server.linked());
  ASSERT_TRUE(device.setRefusing(true));
  device.dropConnection();
  EXPECT_THAT(logged(), HasSubstr("lost the link to the device on " + link + ": "));
  ASSERT_TRUE(device.setRefusing(false));
  std::string opened;
  for (int i = 0; i < 3 && !opened.ends_with(" is open"); ++i) opened = logged();  // a refused open between
  EXPECT_EQ(opened, "the link to the device on " + link + " is open");
}

// The server opening the link to a device that accepts the connection and
// never answers (the open would wait 30 s) ends soon after SIGTERM, without
// a word on its error output.
TEST(DeviceService, TheServerEndsSoonAfterSigtermWhileOpeningTheLink) {
  Device silent;
  silent.responder.setFaults({.dropEvery = 1});
  ChildProcess server(ORVANE_SERVER_PATH,
                      {"--connect", silent.link(), "--listen", "127.0.0.1:0", "--code", "room-4711"},
                      {"HOME=/nonexistent"});
  ASSERT_THAT(server.readLine(10s).value_or(""), HasSubstr("serving http://127.0.0.1:"));
  ASSERT_THAT(server.readLine(10s, ChildProcess::Stream::Err).value_or(""), HasSubstr("opening the link"));
  ASSERT_TRUE(eventually([&] { return silent.requests > 0; }));  // inside the open
  const auto start = Clock::now();
  server.terminate();  // SIGTERM; SIGKILL only after 5 s
  const double seconds = secondsSince(start);
  RecordProperty("sigterm_exit_ms", static_cast<int>(seconds * 1000));
  std::printf("the server ended %.3f s after SIGTERM\n", seconds);
  EXPECT_LT(seconds, 5.0);
  EXPECT_EQ(server.finish(1s).err, "");
}

}  // namespace
}  // namespace orvane
