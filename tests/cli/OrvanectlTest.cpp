// orvanectl run as a program against the simulator, over the network link
// and the RS-485 bus: values set and read back by their paths, batches,
// program backups, JSON output and the exit status of every kind of failure.

#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "model/ChannelRecords.h"
#include "model/NameField.h"
#include "sim/DeviceStateFile.h"
#include "support/BothModels.h"
#include "support/ChildProcess.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchDir.h"
#include "support/SimulatorProcess.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// A simulated device keeping its state in a file the test reads.
struct Device {
  explicit Device(const ScratchDir& dir, const std::string& name = "device.bin",
                  std::vector<std::string> extra = {})
      : stateFile(dir.file(name)), sim(withState(stateFile, std::move(extra))) {}

  static std::vector<std::string> withState(const std::string& file, std::vector<std::string> extra) {
    extra.insert(extra.begin(), {"--state", file});
    return extra;
  }
  std::string link() const { return "net:" + sim.address(); }
  // A failed test also shows what the device printed, such as a sanitizer's
  // report that ended it early.
  ~Device() {
    if (!::testing::Test::HasFailure()) return;
    const ChildProcess::Result ended = sim.finish();
    std::fprintf(stderr, "orvane-sim exit status %d, printed:\n%s\n", ended.status, ended.err.c_str());
  }
  // Stops the device, which saves its state, and reads that.
  DeviceData finalState() {
    const ChildProcess::Result ended = sim.finish();
    EXPECT_EQ(ended.status, 0) << ended.err;
    DeviceData data;
    const auto error = DeviceStateFile::load(stateFile, data);
    EXPECT_FALSE(error) << *error;
    return data;
  }

  std::string stateFile;
  SimulatorProcess sim;
};

// The master levels orvanectl keeps between calls go to a folder of this
// test program, unless a test names another.
ChildProcess::Result ctl(const std::vector<std::string>& args, const std::string& input = {},
                         std::vector<std::string> environment = {}) {
  static const ScratchDir stateHome{"orvanectl-state"};
  environment.push_back("XDG_STATE_HOME=" + stateHome.file(""));
  return ChildProcess::run(ORVANECTL_PATH, args, input, environment);
}

ChildProcess::Result ctlOn(const Device& device, std::vector<std::string> args,
                           const std::string& input = {}) {
  args.insert(args.begin(), {"--connect", device.link()});
  return ctl(args, input);
}

std::vector<nlohmann::json> jsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(nlohmann::json::parse(text.substr(start, end - start)));
  return lines;
}

// Usage errors: exit status 2 and one line naming the bad part, before any
// link is opened (no device runs here).
TEST(Orvanectl, UsageErrorsExitTwoNamingTheBadPart) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
    std::vector<std::string> environment = {};
  };
  const std::vector<Case> cases{
      {{"--connect", "net:127.0.0.1:1", "frobnicate"}, "unknown command 'frobnicate'"},
      {{"--connect", "net:127.0.0.1:1", "get"}, "wrong number of arguments for 'get'"},
      {{"--connect", "net:127.0.0.1:1", "get", "in.Z.gain"}, "in.Z.gain"},
      {{"--connect", "net:127.0.0.1:1", "import-rew", "in.Q", "x.txt"}, "'in.Q' is no channel"},
      {{"--connect", "bluetooth", "status"}, "'bluetooth' names no link"},
      {{"status"}, "no link given"},
      {{"status"},
       "'serial:ttyUSB0:0': a device ID is a number from 1 to 250 (from ORVANE_CONNECT)",
       {"ORVANE_CONNECT=serial:ttyUSB0:0"}},
      {{"--connect", "net:room-dsp", "status"}, "host names are not supported", {"ORVANE_CONNECT=usb"}},
      {{"--colour", "status"}, "unknown option '--colour'"},
      {{"search-id", "net:127.0.0.1"}, "search-id takes the RS-485 port to search as serial:PORT"},
      {{"search-id"}, "wrong number of arguments for 'search-id'"},
  };
  for (const Case& c : cases) {
    const auto result = ctl(c.args, {}, c.environment);
    EXPECT_EQ(result.status, 2) << c.args.back();
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  }
  const auto help = ctl({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* command : {"status", "get", "set", "batch", "backup", "import-rew", "search-id"})
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  EXPECT_EQ(ctl({"help", "set"}).status, 0);
}

// A device that is not there fails with status 1.
TEST(Orvanectl, AMissingDeviceIsALinkFailure) {
  SimulatorProcess sim;
  ASSERT_TRUE(sim.started());
  const std::string address = sim.address();
  sim.stop();
  const auto result = ctl({"--connect", "net:" + address, "status"});
  EXPECT_EQ(result.status, 1);
  EXPECT_FALSE(result.err.empty());
}

// Values of every family of paths, set through one run, come back through
// the next, and the device holds them.
TEST(Orvanectl, SetThenGetRoundTripsOverTheNetwork) {
  struct Case {
    const char* path;
    const char* value;
    const char* shown;
  };
  const std::vector<Case> cases{
      {"in.A.gain", "-6.5dB", "-6.5dB"},
      {"in.A.name", "Lectern", "Lectern"},
      {"out.3.mute", "on", "on"},
      {"in.B.eq.4.freq", "1.2k", "1200Hz"},
      {"out.1.eq.9.gain", "-3", "-3.0dB"},
      {"out.2.xover.hi.freq", "8000Hz", "8000Hz"},
      {"in.C.agc.ratio", "1:2", "1:2.0"},
      {"matrix.A.3", "on", "0.0dB"},
      {"master.out.level", "-10dB", "-10.0dB"},
      {"setup.operating", "discussion", "discussion"},
      {"setup.startup", "7", "7"},
      {"in.A.polarity", "inverted", "inverted"},
      {"out.5.delay", "2.5ms", "2.500ms"},
      {"in.D.gate", "-60dBu", "-60dBu"},
      {"in.E.feedback", "\"Level 2\"", "Level 2"},
      {"out.6.eq.2.bw", "1.0oct", "1.00oct"},
      {"out.6.eq.3.q", "2.1", "2.071"},
      {"in.G.eq.5.type", "lowshelf", "lowshelf"},
      {"in.G.eq.5.slope", "12dB/oct", "12dB/oct"},
      {"out.7.xover.lo.family", "Bessel", "Bessel"},
      {"out.7.xover.lo.freq", "120Hz", "120Hz"},
      {"in.F.comp.ratio", "4:1", "4.0:1"},
      {"in.F.agc.target", "-10dB", "-10.0dB"},
      {"out.8.comp.level", "-10dB", "-10.0dB"},
      {"out.8.lim.threshold", "-6dB", "-6.0dB"},
      {"out.8.comp.attack", "5ms", "5ms"},
      {"in.H.link", "2", "2"},
      {"master.in.mute", "on", "on"},
      {"master.antifeedback", "on", "on"},
      {"setup.zerodbfs", "12", "12dBu"},
      {"setup.threshold.C", "-20dBu", "-20.0dBu"},
      {"setup.level.B", "chairman", "chairman"},
      {"setup.attenuation.discussion.cascade", "-30dB", "-30.0dB"},
      {"setup.channels", "4", "4"},
      {"setup.delay", "3", "3"},
      {"setup.mode", "slave", "slave"},
  };
  ScratchDir dir{"orvanectl"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  std::string sets, gets;
  for (const Case& c : cases) {
    sets += std::string("set ") + c.path + " " + c.value + "\n";
    gets += std::string("get ") + c.path + "\n";
  }
  const auto set = ctlOn(device, {"--json", "--no-link", "batch"}, sets);
  ASSERT_EQ(set.status, 0) << set.err;
  const auto got = ctlOn(device, {"--json", "batch"}, gets);
  ASSERT_EQ(got.status, 0) << got.err;
  const auto setLines = jsonLines(set.out);
  const auto gotLines = jsonLines(got.out);
  ASSERT_EQ(gotLines.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(setLines[i].at("value"), cases[i].shown) << cases[i].path;
    EXPECT_EQ(gotLines[i].at("value"), cases[i].shown) << cases[i].path;
  }
  const DeviceData state = device.finalState();
  EXPECT_EQ(readField(state.working.block(Side::Input, 0), InputField::Gain), 235);  // 0.1 dB, 0 dB at 300
  EXPECT_EQ(state.setup[0] & 4, 4);
  EXPECT_EQ(state.startupProgram, 7);
}

// The RS-485 bus: a device addressed by its ID on the pseudo-terminal.
TEST(Orvanectl, SetAndGetOverTheSerialBus) {
  ScratchDir dir{"orvanectl"};
  Device device(dir, "device.bin", {"--serial", "--id", "3"});
  ASSERT_TRUE(device.sim.started());
  const std::string link = "serial:" + device.sim.serialPath() + ":3";
  const auto set = ctl({"--connect", link, "set", "out.2.mute", "on"});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(set.out, "out.2.mute = on\n");
  const auto got = ctl({"get", "out.2.mute"}, {}, {"ORVANE_CONNECT=" + link});
  EXPECT_EQ(got.out, "on\n");
  // Mute holds 1 while the channel sounds.
  EXPECT_EQ(readField(device.finalState().working.block(Side::Output, 1), CommonField::Mute), 0);
}

// A master muted by one call and unmuted by the next comes back at the level
// it had: orvanectl keeps it per device in the user's state folder. Where
// no level was ever seen (another user's folder here), the unmute is
// refused instead of bringing the room to -48 dB.
TEST(Orvanectl, MasterUnmuteInALaterCallRestoresTheLevel) {
  ScratchDir dir{"orvanectl"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const std::vector<std::string> stranger{"XDG_STATE_HOME=" + dir.file("other")};
  const auto on = [&](std::vector<std::string> args, const std::vector<std::string>& environment) {
    args.insert(args.begin(), {"--connect", device.link()});
    return ctl(args, {}, environment);
  };
  struct Step {
    std::vector<std::string> args;
    std::vector<std::string> environment;
    int status;
    std::string output;  // standard output, or the start of the error
  };
  const std::vector<Step> steps{
      {{"set", "master.out.level", "-10dB"}, {}, 0, "master.out.level = -10.0dB\n"},
      {{"set", "master.out.mute", "on"}, {}, 0, "master.out.mute = on\nmaster.out.level = OFF\n"},
      {{"set", "master.out.mute", "off"},
       stranger,
       2,
       "orvanectl: master.out.mute: the level to restore is not known: set master.out.level to a level "
       "first\n"},
      {{"get", "master.out.level"}, stranger, 0, "OFF\n"},
      {{"set", "master.out.mute", "off"}, {}, 0, "master.out.mute = off\nmaster.out.level = -10.0dB\n"},
      {{"get", "master.out.level"}, {}, 0, "-10.0dB\n"},
  };
  for (const Step& step : steps) {
    const auto result = on(step.args, step.environment);
    EXPECT_EQ(result.status, step.status) << step.args[1] << ": " << result.err;
    EXPECT_EQ(step.status == 0 ? result.out : result.err, step.output) << step.args[1];
  }
}

// Options may follow the command, the command's own options and negative
// values stay its own, and a set on a linked channel names every channel
// it changed, in text and in JSON.
TEST(Orvanectl, OptionsAfterTheCommandAndLinkedChannels) {
  ScratchDir dir{"orvanectl"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  struct Case {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string output;
  };
  const std::vector<Case> cases{
      {{"set", "in.B.link", "1"}, "", 0, "in.B.link = 1\n"},
      {{"set", "in.A.gain", "-6dB"}, "", 0, "in.A.gain = -6.0dB\nin.B.gain = -6.0dB\n"},
      {{"set", "in.A.gain", "-3dB", "--no-link"}, "", 0, "in.A.gain = -3.0dB\n"},
      {{"get", "in.B.gain", "--json"}, "", 0, "{\"path\":\"in.B.gain\",\"value\":\"-6.0dB\"}\n"},
      {{"batch", "--keep-going"}, "set in.C.gain loud\nget in.B.gain\n", 2, "-6.0dB\n"},
  };
  for (const Case& c : cases) {
    const auto result = ctlOn(device, c.args, c.input);
    EXPECT_EQ(result.status, c.status) << c.args[0] << ": " << result.err;
    EXPECT_EQ(result.out, c.output) << c.args[0];
  }
  const auto report = ctlOn(device, {"report", "--format", "csv", "--output", dir.file("r.json"), "--json"});
  EXPECT_EQ(report.status, 0) << report.err;
  std::ifstream csv(dir.file("r.json"));
  const std::string firstLine = [&] {
    std::string line;
    std::getline(csv, line);
    return line;
  }();
  EXPECT_TRUE(!firstLine.starts_with("[") && firstLine.find(',') != std::string::npos) << firstLine;

  const auto json = ctlOn(device, {"set", "in.B.gain", "-9dB", "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const auto changed = nlohmann::json::parse(json.out);
  EXPECT_EQ(changed.at("changed"), nlohmann::json({"in.A.gain", "in.B.gain"}));
  EXPECT_EQ(changed.at("values"), nlohmann::json({{"in.A.gain", "-9.0dB"}, {"in.B.gain", "-9.0dB"}}));
}

// The RS-485 bus searched for the IDs that answer: a device with ID 7
// among none other, and a bus where nobody answers.
TEST(Orvanectl, SearchIdListsTheDevicesOnTheBus) {
  ScratchDir dir{"orvanectl"};
  Device device(dir, "device.bin", {"--serial", "--id", "7", "--id", "201"});
  ASSERT_TRUE(device.sim.started());
  // Each ID has the device's own answer window of 30 ms; a simulator that
  // a busy machine runs late misses it now and then, as a device that
  // answers late would. A search that finds both within three tries passes.
  ChildProcess::Result found;
  for (int attempt = 0; attempt < 3; ++attempt) {
    found = ctl({"--json", "search-id", "serial:" + device.sim.serialPath()});
    if (found.status == 0 && nlohmann::json::parse(found.out).at("ids") == nlohmann::json({7, 201})) break;
  }
  ASSERT_EQ(found.status, 0) << found.err;
  EXPECT_EQ(nlohmann::json::parse(found.out).at("ids"), nlohmann::json({7, 201}));
  EXPECT_EQ(found.err, "");  // no progress line where standard error is no terminal

  int master = -1;
  int slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const std::string silent = ::ttyname(slave);
  const auto none = ctl({"search-id", "serial:" + silent});
  ::close(slave);
  ::close(master);
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_NE(none.err.find("no device answered on '" + silent + "'"), std::string::npos) << none.err;

  // A port that is not there is named as such, with what to check.
  const auto missing = ctl({"search-id", "serial:" + dir.file("ttyNone")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("there is no serial port " + dir.file("ttyNone")), std::string::npos)
      << missing.err;
}

// A batch stops at its first failure, or runs on with --keep-going; its
// exit status is the worst of its commands. A file saved with a UTF-8
// byte-order mark reads as one without.
TEST(Orvanectl, BatchStopsAtTheFirstFailureUnlessToldToGoOn) {
  ScratchDir dir{"orvanectl"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const std::string script =
      "\xEF\xBB\xBF# the hall's microphones\n"
      "set in.A.gain -3dB\n"
      "\n"
      "set in.B.gain loud   # not a level\n"
      "set in.C.gain -4dB\n";
  const auto stopped = ctlOn(device, {"batch"}, script);
  EXPECT_EQ(stopped.status, 2);
  EXPECT_EQ(stopped.out, "in.A.gain = -3.0dB\n");
  EXPECT_NE(stopped.err.find("line 4: "), std::string::npos) << stopped.err;
  EXPECT_NE(stopped.err.find("loud"), std::string::npos) << stopped.err;

  const auto ran = ctlOn(device, {"--keep-going", "--json", "batch"}, script);
  EXPECT_EQ(ran.status, 2);
  const auto lines = jsonLines(ran.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].at("status"), 2);
  EXPECT_EQ(lines[2].at("value"), "-4.0dB");
  EXPECT_EQ(ctlOn(device, {"get", "in.C.gain"}).out, "-4.0dB\n");
}

// Programs stored, backed up and restored into a fresh device come out the
// same; the program list and the status read as JSON.
TEST(Orvanectl, BackupRestoresIntoAFreshDevice) {
  ScratchDir dir{"orvanectl"};
  Device first(dir, "first.bin");
  ASSERT_TRUE(first.sim.started());
  const std::string backup = dir.file("venue.dat1j");
  const auto made = ctlOn(first, {"batch"},
                          "set in.A.gain -12dB\nstore 5 Lecture\nset out.4.mute on\nstore 12 \"Board Room\"\n"
                          "backup " +
                              backup + "\n");
  ASSERT_EQ(made.status, 0) << made.err;

  Device second(dir, "second.bin");
  ASSERT_TRUE(second.sim.started());
  const auto restored = ctlOn(second, {"restore", backup});
  ASSERT_EQ(restored.status, 0) << restored.err;
  const auto programs = ctlOn(second, {"--json", "programs"});
  ASSERT_EQ(programs.status, 0) << programs.err;
  const auto listed = jsonLines(programs.out);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].at("programs").at(11).at("name"), "Board Room");
  const auto shown = ctlOn(second, {"--json", "status"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  const auto status = jsonLines(shown.out);
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].at("meters").at("inputs").size(), 8u);
  EXPECT_EQ(status[0].at("link"), second.link());
  // The text for people: no line ends in a blank, unnamed programs and an
  // unknown current program included.
  for (const auto& [command, line] :
       {std::pair{"programs", "  12  Board Room\n  13\n"}, std::pair{"status", "program:  -\n"}}) {
    const auto text = ctlOn(second, {command});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find(line), std::string::npos) << text.out;
    EXPECT_EQ(text.out.find(" \n"), std::string::npos) << text.out;
  }
  EXPECT_EQ(second.finalState().programs, first.finalState().programs);
}

// diff compares two files without a link, the working state and a stored
// program over one, and exits like diff(1): 0 equal, 1 different, 2 for a
// side that names no program.
TEST(Orvanectl, DiffListsTheParametersThatDifferByPathWithBothValues) {
  ScratchDir dir{"orvanectl-diff"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const std::string base = dir.file("base.dia1j");
  const std::string changed = dir.file("changed.dia1j");
  const auto made =
      ctlOn(device, {"batch"},
            "save " + base + "\nset in.A.gain -6dB\nsave " + changed +
                "\nset matrix.B.4 -3dB\nstore 5 Lecture\nbackup " + dir.file("all.dat1j") + "\n");
  ASSERT_EQ(made.status, 0) << made.err;

  const auto text = ctl({"diff", base, changed});
  EXPECT_EQ(text.status, 1) << text.err;
  // A heading, then the path, both values and what the editor calls it.
  const std::size_t line = text.out.find("\nin.A.gain ");
  ASSERT_NE(line, std::string::npos) << text.out;
  std::istringstream words(text.out.substr(line, text.out.find('\n', line + 1) - line));
  EXPECT_EQ(std::vector<std::string>(std::istream_iterator<std::string>(words), {}),
            (std::vector<std::string>{"in.A.gain", "0.0dB", "-6.0dB", "Input", "A", "gain"}));
  EXPECT_NE(text.out.find("\n1 parameter differs\n"), std::string::npos) << text.out;
  const auto json = ctl({"--json", "diff", base, changed});
  ASSERT_EQ(json.status, 1) << json.err;
  const auto listed = jsonLines(json.out);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].at("equal"), false);
  EXPECT_EQ(listed[0].at("differences"),
            nlohmann::json::parse(
                R"([{"path":"in.A.gain","name":"Input A gain","left":"0.0dB","right":"-6.0dB"}])"));

  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // a part of what it prints, on standard output or else on standard error
  };
  for (const Case& c : std::vector<Case>{
           {{"diff", base, base}, 0, ""},
           {{"diff", changed}, 1, "matrix.B.4"},
           {{"diff", "program:5", "device"}, 0, ""},
           {{"diff", base, "program:5"}, 1, "2 parameters differ"},
           {{"diff", "program:31"}, 2, "program '31' is not a number from 1 to 30"},
           {{"diff", dir.file("all.dat1j"), base}, 1, "is an all-programs file, not one program"},
       }) {
    SCOPED_TRACE(c.args[1]);
    const auto ran = ctlOn(device, c.args);
    EXPECT_EQ(ran.status, c.status) << ran.err;
    if (c.out.empty())
      EXPECT_EQ(ran.out, "");
    else
      EXPECT_NE((ran.out + ran.err).find(c.out), std::string::npos) << ran.out << ran.err;
  }
}

// The status a batch line ended with: failures carry theirs, results none.
int statusOf(const nlohmann::json& line) {
  return line.is_object() && line.contains("error") ? line["status"].get<int>() : 0;
}

struct BatchCase {
  std::string line;
  int status;
  std::string text;  // in the error, or in the result when it succeeded
};

// Runs `cases` as one batch that keeps going and checks each line's outcome.
void expectBatch(const Device& device, const std::vector<BatchCase>& cases) {
  std::string script;
  for (const BatchCase& c : cases) script += c.line + "\n";
  const auto ran = ctlOn(device, {"--keep-going", "--json", "batch"}, script);
  const auto lines = jsonLines(ran.out);
  ASSERT_EQ(lines.size(), cases.size()) << ran.err;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(statusOf(lines[i]), cases[i].status) << cases[i].line << ": " << lines[i].dump();
    EXPECT_NE(lines[i].dump().find(cases[i].text), std::string::npos)
        << cases[i].line << ": " << lines[i].dump();
  }
}

// Program numbers, names and files the user gets wrong, and files that
// cannot be read or written, are refused one by one while the rest of the
// batch works: the device ends with what the good lines did.
TEST(Orvanectl, ProgramCommandsRefuseBadNumbersNamesAndFiles) {
  ScratchDir dir{"orvanectl"};
  std::ofstream(dir.file("garbage.dat1j"), std::ios::binary) << "not a program file at all";
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const std::string missing = dir.file("no-such-folder/x");
  expectBatch(device,
              {
                  {"store 5 Lecture", 0, "Lecture"},
                  {"store 6 Board", 0, "Board"},
                  {"store 8 \"Talk #2\"   # a quoted '#' is part of the name", 0, "Talk #2"},
                  {"recall 5", 0, "\"program\":5"},
                  {"recall 31", 2, "not a number from 1 to 30"},
                  {"recall five", 2, "'five'"},
                  {"delete 0", 2, "not a number from 1 to 30"},
                  {"store 7 \"\"", 2, "needs a name"},
                  {"store 7 ABCDEFGHIJKLMNOPQ", 2, "too long"},
                  {"delete 6", 0, "\"program\":6"},
                  {"save " + dir.file("one"), 0, dir.file("one.dia1j")},  // the editor's extension
                  {"save " + missing, 1, "the folder '" + dir.file("no-such-folder") + "' does not exist"},
                  {"load " + dir.file("one.dia1j"), 0, "one.dia1j"},
                  {"load " + dir.file("absent.dat1j"), 1, "cannot read the file"},
                  {"load " + dir.file("garbage.dat1j"), 2, "is not a program file"},
                  {"restore " + dir.file("one.dia1j"), 2, "is a one-program file: use load for it"},
                  {"backup " + dir.file("all"), 0, dir.file("all.dat1j")},
                  {"backup " + dir.file("all.dat1j.old"), 0, dir.file("all.dat1j.old")},  // holds it
                  {"load " + dir.file("all.dat1j"), 2, "is an all-programs file: use restore for it"},
                  {"restore " + dir.file("absent.dat1j"), 1, "cannot read the file"},
                  {"backup " + missing, 1, "cannot write the file"},
                  {"report --format pdf", 2, "unknown report format 'pdf'"},
                  {"report --colour", 2, "not '--colour'"},
                  {"report --format xlsx", 2, "needs --output"},
                  {"report --format xlsx --output " + missing, 1, "cannot write the workbook"},
                  {"report --output " + missing, 1, "cannot write the file"},
                  {"report --format text --output " + dir.file("report.txt"), 0, "report.txt"},
                  {"meters --fast", 2, "only --watch"},
                  {"batch", 2, "inside a batch"},
                  {"store 8 \"Room 2", 2, "quote is not closed"},
              });
  std::ifstream text(dir.file("report.txt"));
  const std::string report{std::istreambuf_iterator<char>(text), {}};
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 72);
  const DeviceData state = device.finalState();
  const auto name = [&](int program) { return NameField::FieldToText(recordName(state.program(program))); };
  EXPECT_EQ(name(5), "Lecture");
  EXPECT_EQ(name(6), "");
  EXPECT_EQ(name(7), "");
  EXPECT_EQ(name(8), "Talk #2");
}

// Program operations the device's locks forbid are refused with status 1,
// and neither the device nor the files change.
TEST(Orvanectl, LockedProgramOperationsAreRefused) {
  ScratchDir dir{"orvanectl"};
  const std::string one = dir.file("one.dia1j");
  const std::string all = dir.file("all.dat1j");
  DeviceData locked;
  {
    Device open(dir);
    ASSERT_TRUE(open.sim.started());
    ASSERT_EQ(ctlOn(open, {"batch"}, "store 3 Kept\nsave " + one + "\nbackup " + all + "\n").status, 0);
    locked = open.finalState();
  }
  // Loading, saving and deleting programs locked (flags 32, 33, 34).
  locked.workingLocks[4] = 0x07;
  ASSERT_FALSE(DeviceStateFile::save(dir.file("device.bin"), locked));
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const std::string fresh = dir.file("fresh");
  expectBatch(device, {
                          {"recall 3", 1, "recalling programs is locked"},
                          {"store 3 Other", 1, "storing programs is locked"},
                          {"delete 3", 1, "deleting programs is locked"},
                          {"save " + fresh, 1, "saving programs is locked"},
                          {"load " + one, 1, "loading programs is locked"},
                          {"backup " + fresh, 1, "reading programs is locked"},
                          {"restore " + all, 1, "loading programs is locked"},
                      });
  EXPECT_FALSE(fs::exists(fresh + ".dia1j"));
  EXPECT_FALSE(fs::exists(fresh + ".dat1j"));
  EXPECT_EQ(device.finalState().programs, locked.programs);
}

// A disk that fills up while orvanectl writes (a timer's nightly backup,
// say): every file it writes keeps what it held before, and the error says
// so.
TEST(Orvanectl, FilesThatCannotBeWrittenKeepWhatTheyHeld) {
  ScratchDir dir{"orvanectl"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const std::vector<std::string> files{"one.dia1j", "all.dat1j", "report.txt", "report.xlsx"};
  for (const std::string& file : files) std::ofstream(dir.file(file)) << "earlier " << file;
  const std::string kept = "File too large; the file that was there is kept unchanged";
  {
    const FileSizeLimit fullDisk(1000);
    expectBatch(device, {
                            {"save " + dir.file("one.dia1j"), 1, kept},
                            {"backup " + dir.file("all.dat1j"), 1, kept},
                            {"report --output " + dir.file("report.txt"), 1, kept},
                            {"report --format xlsx --output " + dir.file("report.xlsx"), 1,
                             "while creating the xlsx file; the file that was there is kept unchanged"},
                        });
  }
  for (const std::string& file : files) {
    std::ifstream in(dir.file(file));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "earlier " + file);
  }
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir.file("")))
    if (entry.path().string() != device.stateFile) left.push_back(entry.path().filename().string());
  std::ranges::sort(left);
  EXPECT_EQ(left, (std::vector<std::string>{"all.dat1j", "one.dia1j", "report.txt", "report.xlsx"}));
}

using OrvanectlModel = BothModels;

// With --model the tool serves that model: a device of the model is read
// and its status names the model; the other product's firmware, an older
// and a newer one are refused before any command runs.
TEST_P(OrvanectlModel, ServesTheModelChosenAndRefusesAnyOtherFirmware) {
  const std::string own(variant().firmwarePrefix);
  const std::string other(otherVariant().firmwarePrefix);
  ScratchDir dir{"orvanectl"};
  {
    Device device(dir, "device.bin", {"--model", modelText()});
    const auto shown = ctlOn(device, {"--model", modelText(), "--json", "status"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const auto status = nlohmann::json::parse(shown.out);
    EXPECT_EQ(status["model"], GetParam());
    EXPECT_EQ(status["firmware"], own + "1.20");
  }
  struct Case {
    std::string firmware;
    std::string message;
  };
  const std::vector<Case> cases{
      {other + "1.00", "(firmware " + other + "1.00) is not a product this tool serves"},
      {own + "0.90", "firmware " + own + "0.90 is older"},
      {own + "2.00", "firmware " + own + "2.00 is newer"},
  };
  for (const Case& c : cases) {
    Device device(dir, "device.bin", {"--firmware", c.firmware});
    ASSERT_TRUE(device.sim.started());
    const auto result = ctlOn(device, {"--model", modelText(), "status"});
    EXPECT_EQ(result.status, 1) << c.firmware;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Models, OrvanectlModel, ::testing::Values(7304, 736), BothModels::name);

// The report in each format.
TEST(Orvanectl, ReportInEveryFormat) {
  ScratchDir dir{"orvanectl"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const auto csv = ctlOn(device, {"report", "--format", "csv"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 72);
  const auto json = jsonLines(ctlOn(device, {"report", "--format", "json"}).out);
  ASSERT_EQ(json.size(), 1u);
  EXPECT_EQ(json[0].size(), 71u);
  EXPECT_TRUE(json[0][0].contains("CH_H"));
  const std::string workbook = dir.file("report.xlsx");
  EXPECT_EQ(ctlOn(device, {"report", "--format", "xlsx", "--output", workbook}).status, 0);
  EXPECT_GT(fs::file_size(workbook), 1000u);
  EXPECT_EQ(ctlOn(device, {"report", "--format", "pdf"}).status, 2);

  // Without --format a file's extension names the format; --format wins.
  const auto slurp = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string text = ctlOn(device, {"report"}).out;
  struct Case {
    const char* file;
    std::vector<std::string> format;
    std::string written;  // or "PK", the start of a workbook
  };
  const Case cases[] = {{"r.CSV", {}, csv.out},
                        {"r.xlsx", {}, "PK"},
                        {"r.txt", {}, text},
                        {"r.out", {}, text},
                        {"r.json", {}, ctlOn(device, {"report", "--format", "json"}).out},
                        {"r.json", {"--format", "csv"}, csv.out}};
  for (const Case& c : cases) {
    std::vector<std::string> words{"report", "--output", dir.file(c.file)};
    words.insert(words.end(), c.format.begin(), c.format.end());
    ASSERT_EQ(ctlOn(device, words).status, 0) << c.file;
    const std::string written = slurp(dir.file(c.file));
    EXPECT_EQ(c.written == "PK" ? written.substr(0, 2) : written, c.written) << c.file;
  }
}

// A room measurement's filters into a channel, and the meters watched until
// the user stops them.
TEST(Orvanectl, RewImportAndWatchedMeters) {
  ScratchDir dir{"orvanectl"};
  Device device(dir);
  ASSERT_TRUE(device.sim.started());
  const std::string filters = dir.file("filters.txt");
  std::ofstream(filters, std::ios::binary)
      << "Filter Settings file\r\n\r\nEqualiser: Generic\r\n"
         "Filter  1: ON  PK       Fc   63.0 Hz  Gain  -4.5 dB  Q  2.10\r\n"
         "Filter  2: ON  HS       Fc   8.00 kHz Gain   3.0 dB\r\n"
         "Filter  3: ON  None\r\n";
  const auto imported = ctlOn(device, {"import-rew", "in.B", filters});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(ctlOn(device, {"batch"}, "get in.B.eq.1.gain\nget in.B.eq.2.type\nget in.B.eq.3.gain\n").out,
            "-4.5dB\nhighshelf\n0.0dB\n");
  std::ofstream(dir.file("wrong.txt")) << "Filter  1: ON  XO  Fc 100 Hz\n";
  const auto refused = ctlOn(device, {"import-rew", "in.B", dir.file("wrong.txt")});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("line 1"), std::string::npos) << refused.err;

  // A file of more than 1 MiB is refused whole: cut at 1 MiB, this one
  // would read "Fc 10" where it says "Fc 1000". One of exactly 1 MiB is taken.
  constexpr std::size_t kMiB = 1 << 20;
  const std::string header = "Filter Settings file\n";
  const std::string filter = "Filter  1: ON  PK  Gain  -2.0 dB  Q  1.00  Fc 1000 Hz\n";
  const std::size_t cut = filter.find("Fc 10") + 5;
  std::ofstream(dir.file("long.txt"), std::ios::binary)
      << header << std::string(kMiB - header.size() - cut - 1, 'x') << "\n"
      << filter;
  const auto before = ctlOn(device, {"get", "in.B.eq.1.freq"}).out;
  const auto tooLarge = ctlOn(device, {"import-rew", "in.B", dir.file("long.txt")});
  EXPECT_EQ(tooLarge.status, 2);
  EXPECT_NE(tooLarge.err.find("larger than 1 MiB"), std::string::npos) << tooLarge.err;
  const auto after = ctlOn(device, {"get", "in.B.eq.1.freq"});
  EXPECT_EQ(after.out, before) << after.err;
  std::ofstream(dir.file("full.txt"), std::ios::binary)
      << header << filter << std::string(kMiB - header.size() - filter.size(), ' ');
  ASSERT_EQ(fs::file_size(dir.file("full.txt")), kMiB);
  EXPECT_EQ(
      ctlOn(device, {"batch"}, "import-rew in.B " + dir.file("full.txt") + "\nget in.B.eq.1.freq\n").out,
      "imported 1 filter into in.B\n1000Hz\n");

  ChildProcess watch(ORVANECTL_PATH, {"--connect", device.link(), "meters", "--watch"});
  const auto start = std::chrono::steady_clock::now();
  for (int line = 0; line < 5; ++line) ASSERT_TRUE(watch.readLine(std::chrono::seconds(5)));
  // At most twenty lines a second.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(180));
  watch.interrupt();
  EXPECT_EQ(watch.finish(std::chrono::seconds(10)).status, 0);
}

}  // namespace
}  // namespace orvane
