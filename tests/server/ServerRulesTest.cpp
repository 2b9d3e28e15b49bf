// The server's own rules: its command line, the panel layout, the access
// code's file and what the change feed gives its readers.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "model/NameField.h"
#include "server/AccessCode.h"
#include "server/ChangeFeed.h"
#include "server/Panel.h"
#include "server/ServerOptions.h"
#include "support/ScratchDir.h"

namespace orvane::server {
namespace {

TEST(ServerOptions, CommandLines) {
  struct Case {
    std::vector<std::string> args;
    const char* environment;
    const char* error;  // nullptr: accepted
  };
  const Case cases[] = {
      {{"--connect", "usb"}, nullptr, nullptr},
      {{}, "net:127.0.0.1", nullptr},
      {{"--connect", "serial:ttyUSB0:3", "--listen", "127.0.0.1:0", "--code", "abcdef"}, nullptr, nullptr},
      {{}, nullptr, "no link given"},
      {{"--connect", "bluetooth"}, nullptr, "'bluetooth' names no link"},
      {{}, "serial:ttyUSB0", "needs the port and the device ID: serial:PORT:ID (from ORVANE_CONNECT)"},
      {{"--connect", "usb", "--code", "abc"}, nullptr, "at least 6 characters"},
      {{"--connect", "usb", "--code", "abc def"}, nullptr, "without blanks"},
      {{"--connect", "usb", "--listen", "example.org"}, nullptr, "'example.org' is not an IPv4 address"},
      {{"--connect", "usb", "--panel"}, nullptr, "'--panel' needs a value"},
      {{"--connect", "usb", "--open"}, nullptr, "unknown option '--open'"},
      {{"--connect", "usb", "--model", "7340"}, nullptr, "--model takes 7304 or 736, not '7340'"},
  };
  for (const Case& c : cases) {
    const ServerOptions::Parsed parsed = ServerOptions::parse(c.args, c.environment);
    if (!c.error) {
      EXPECT_TRUE(std::holds_alternative<ServerOptions>(parsed)) << c.args.size();
      continue;
    }
    const auto* error = std::get_if<ServerOptions::Error>(&parsed);
    ASSERT_NE(error, nullptr) << c.error;
    EXPECT_NE(error->message.find(c.error), std::string::npos) << error->message;
  }
  const auto options = std::get<ServerOptions>(ServerOptions::parse({"--connect", "usb"}, nullptr));
  EXPECT_EQ(options.listen.host, "127.0.0.1");  // this computer only, unless told otherwise
  EXPECT_EQ(options.listen.port, 8080);
  EXPECT_EQ(options.model.modelCode, ProductVariant::builtDefault().modelCode);
  for (const int model : {7304, 736}) {
    const auto chosen = ServerOptions::parse({"--connect", "usb", "--model", std::to_string(model)}, nullptr);
    EXPECT_EQ(std::get<ServerOptions>(chosen).model.modelCode, model);
  }
}

TEST(Panel, LayoutsAreFilledInAndMistakesNamed) {
  const auto layout = std::get<control::Json>(Panel::parse(
      R"({"title": "Hall", "master": false, "inputs": [{"channel": "C", "label": "Lectern", "controls": ["mute"]}],
          "programs": [1, 5]})"));
  EXPECT_EQ(layout["title"], "Hall");
  EXPECT_EQ(layout["master"]["level"], false);
  ASSERT_EQ(layout["inputs"].size(), 1u);
  EXPECT_EQ(layout["inputs"][0]["controls"], control::Json::array({"mute"}));
  EXPECT_EQ(layout["outputs"].size(), 8u);  // left out: every output
  EXPECT_EQ(layout["programs"], control::Json::array({1, 5}));
  EXPECT_EQ(std::get<control::Json>(Panel::parse("{}")), Panel::everything());
  EXPECT_EQ(std::get<control::Json>(Panel::parse(R"({"programs": [30]})"))["programs"],
            control::Json::array({30}));

  const std::pair<const char*, const char*> mistakes[] = {
      {"[1, 2]", "not a JSON object"},
      {"{\"inputs\": [{\"channel\": \"J\"}]}", "'J' is no channel"},
      {"{\"outputs\": [{\"channel\": \"A\"}]}", "'A' is no channel"},
      {"{\"inputs\": [{\"channel\": \"A\", \"controls\": [\"eq\"]}]}", "controls are a list"},
      {"{\"programs\": [0]}", "program numbers 1 .. 30"},
      {"{\"programs\": [4294967297]}", "4294967297 is not one of the program numbers"},  // not 1
      {"{\"programs\": [18446744073709551615]}", "18446744073709551615 is not one"},
      {"{\"programs\": [-1]}", "-1 is not one"},
      {"{\"programs\": [1e10]}", "is not one of the program numbers"},
      {"{\"programs\": [\"5\"]}", "a string is not one"},
      {"{\"master\": {\"level\": 1}}", "master.level is true or false"},
  };
  for (const auto& [text, message] : mistakes) {
    const auto parsed = Panel::parse(text);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
    EXPECT_NE(std::get<std::string>(parsed).find(message), std::string::npos)
        << std::get<std::string>(parsed);
  }
}

TEST(ChangeFeed, ARenameOrARecallComesAloneAndAReaderFarBehindGetsTheState) {
  DeviceService device(ConnectTarget{}, "none");  // never linked: the test changes its image as a link would
  ChangeFeed feed(device);
  feed.start();
  const auto next = [&feed](long& seen) {
    const auto event = feed.next(seen, std::chrono::seconds(2));
    return event ? control::Json::parse(event->substr(std::string_view("data: ").size())) : control::Json();
  };
  long close = -1, late = -1;
  const control::Json first = next(close);
  EXPECT_EQ(first["programs"].size(), 30u);
  EXPECT_EQ(first["program"], 0);
  EXPECT_EQ(next(late), first);

  device.image().modify([](ImageData& d) { NameField::TextToField("Lecture", recordName(d.programs[2])); });
  const control::Json renamed = next(close);
  EXPECT_EQ(renamed.size(), 1u) << renamed;
  EXPECT_EQ(renamed["programs"][2], (control::Json{{"program", 3}, {"name", "Lecture"}}));
  EXPECT_EQ(next(late), renamed);  // one event behind: that event

  const int last = static_cast<int>(ChangeFeed::kRecentEvents) + 2;
  for (int program = 1; program <= last; ++program) {
    device.image().modify([program](ImageData& d) { d.currentProgramNumber = program; });
    ASSERT_EQ(next(close), (control::Json{{"program", program}}));
  }
  const control::Json state = next(late);  // further behind than the feed keeps: the state, not the backlog
  EXPECT_EQ(state["program"], last);
  EXPECT_EQ(state["programs"][2]["name"], "Lecture");
}

TEST(AccessCode, MadeOnceKeptPrivateAndComparedWhole) {
  ScratchDir dir{"server-code"};
  const std::filesystem::path file = dir.file("orvane/server-code");
  std::string first, again;
  bool made = false;
  ASSERT_EQ(AccessCode::loadOrMake(file, first, made), "");
  EXPECT_TRUE(made);
  EXPECT_GE(first.size(), 10u);
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600);
  ASSERT_EQ(AccessCode::loadOrMake(file, again, made), "");
  EXPECT_FALSE(made);
  EXPECT_EQ(again, first);

  const AccessCode code("room-4711");
  EXPECT_TRUE(code.matches("room-4711"));
  for (const char* wrong : {"", "room-471", "room-47111", "Room-4711", "room-4711room-4711"})
    EXPECT_FALSE(code.matches(wrong)) << wrong;
}

}  // namespace
}  // namespace orvane::server
