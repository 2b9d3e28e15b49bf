#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "cli/CommandRunner.h"
#include "report/ReportWorkbook.h"

namespace orvane::cli {
namespace {

using Strings = std::vector<std::string>;

// Options before or after the command hold for the run; the command's own
// options (with their values) and values such as -6dB stay the command's; a
// bad option or model is named.
TEST(CommandLineTest, OptionsTheCommandAndTheLink) {
  struct Case {
    Strings args;
    const char* environment;
    std::string connect;  // or the error's start when `words` is empty and `error` is set
    Strings words;
    bool json = false;
    bool help = false;
    std::string error = {};
    int model = ProductVariant::builtDefault().modelCode;
    bool noLink = false;
    bool keepGoing = false;
  };
  const int fallback = ProductVariant::builtDefault().modelCode;
  const std::vector<Case> cases{
      {{"--connect", "usb", "status"}, nullptr, "usb", {"status"}},
      {{"--connect=net:127.0.0.1:9000", "--json", "get", "in.A.gain"},
       nullptr,
       "net:127.0.0.1:9000",
       {"get", "in.A.gain"},
       true},
      {{"status"}, "serial:/dev/ttyUSB0:3", "serial:/dev/ttyUSB0:3", {"status"}},
      {{"--connect", "usb", "status"}, "net:127.0.0.1", "usb", {"status"}},
      {{"report", "--format", "csv", "--json"}, nullptr, "", {"report", "--format", "csv"}, true},
      {{"report", "--output", "--json"}, nullptr, "", {"report", "--output", "--json"}},
      {{"status", "--json"}, nullptr, "", {"status"}, true},
      {{"meters", "--watch", "--connect", "usb"}, nullptr, "usb", {"meters", "--watch"}},
      {{"set", "in.A.gain", "-6dB", "--no-link"},
       nullptr,
       "",
       {"set", "in.A.gain", "-6dB"},
       false,
       false,
       "",
       fallback,
       true},
      {{"batch", "--keep-going"}, nullptr, "", {"batch"}, false, false, "", fallback, false, true},
      {{"set", "--help"}, nullptr, "", {"set"}, false, true},
      {{"set", "in.A.gain", "--bogus"}, nullptr, "", {"set", "in.A.gain", "--bogus"}},
      {{"-h"}, nullptr, "", {}, false, true},
      {{"--connect"}, nullptr, "", {}, false, false, "--connect needs a link"},
      {{"--verbose", "status"}, nullptr, "", {}, false, false, "unknown option '--verbose'"},
      {{"-", "status"}, nullptr, "", {"-", "status"}},
      {{"--model", "736", "status"}, nullptr, "", {"status"}, false, false, "", 736},
      {{"--model", "7304", "status"}, nullptr, "", {"status"}, false, false, "", 7304},
      {{"--model", "73", "status"}, nullptr, "", {}, false, false, "--model takes 7304 or 736, not '73'"},
      {{"--model"}, nullptr, "", {}, false, false, "--model needs a model: 7304 or 736"},
  };
  for (const Case& c : cases) {
    const auto parsed = CommandLine::parse(c.args, c.environment);
    if (!c.error.empty()) {
      ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << c.error;
      EXPECT_EQ(std::get<std::string>(parsed).rfind(c.error, 0), 0u) << std::get<std::string>(parsed);
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed)) << std::get<std::string>(parsed);
    const CommandLine& line = std::get<CommandLine>(parsed);
    EXPECT_EQ(line.connect, c.connect);
    EXPECT_EQ(line.words, c.words);
    EXPECT_EQ(line.json, c.json);
    EXPECT_EQ(line.help, c.help);
    EXPECT_EQ(line.model.modelCode, c.model);
    EXPECT_EQ(line.noLink, c.noLink);
    EXPECT_EQ(line.keepGoing, c.keepGoing);
  }
}

// The report's options are checked before any link opens. A workbook needs
// a file to go to, and a build without the spreadsheet library (Windows)
// refuses it by name, whichever way it was asked for.
TEST(CommandLineTest, ReportOptionsAreRefusedBeforeTheLinkOpens) {
  const std::string noWorkbook(ReportWorkbook::unavailable());
  const auto workbook = [&](std::string error) { return noWorkbook.empty() ? error : noWorkbook; };
  const struct {
    Strings words;
    std::string error;
  } cases[] = {
      {{"report"}, ""},
      {{"report", "--format", "csv", "--output", "r.txt"}, ""},
      {{"report", "--output", "r.CSV"}, ""},
      {{"report", "--format", "ods"}, "unknown report format 'ods': text, csv, json or xlsx"},
      {{"report", "--output"}, "report takes --format text|csv|json|xlsx and --output FILE, not '--output'"},
      {{"report", "--format", "xlsx"}, workbook("an xlsx report needs --output FILE")},
      {{"report", "--output", "r.xlsx"}, workbook("")},
      {{"report", "--format", "xlsx", "--output", "r.csv"}, workbook("")},
  };
  for (const auto& c : cases) {
    const auto refused = CommandRunner::check(c.words);
    EXPECT_EQ(refused ? refused->error : "", c.error) << c.words.back();
    EXPECT_EQ(refused ? refused->status : Outcome::UsageError, Outcome::UsageError) << c.words.back();
  }
}

// A batch line: blanks separate, quotes keep blanks, a backslash takes the
// next character as it is (not inside single quotes), '#' outside quotes
// starts a comment, and an open quote is an error.
TEST(CommandLineTest, BatchLinesSplitIntoWords) {
  struct Case {
    std::string line;
    Strings words;  // empty with `open` set: the line is refused
    bool open = false;
  };
  const std::vector<Case> cases{
      {"set in.A.gain -3dB", {"set", "in.A.gain", "-3dB"}},
      {"  store\t12  \"Board Room\"\r", {"store", "12", "Board Room"}},
      {"store 3 \"\"", {"store", "3", ""}},
      {"store 3 Hall\\ East", {"store", "3", "Hall East"}},
      {"store 3 say\\\"hi\\\"", {"store", "3", "say\"hi\""}},
      {"store 3 ends\\", {"store", "3", "ends\\"}},
      {"", {}},
      {"   ", {}},
      {"store 3 \"Board Room", {}, true},
      {"store 3 \"Talk #2\"", {"store", "3", "Talk #2"}},
      {"set in.A.gain -3dB # lectern", {"set", "in.A.gain", "-3dB"}},
      {"set in.A.gain -3dB#lectern", {"set", "in.A.gain", "-3dB"}},
      {"store 3 Talk\\#2", {"store", "3", "Talk#2"}},
      {"store 3 \"Talk\" # \"unclosed", {"store", "3", "Talk"}},
      {"# store 3 \"Talk", {}},
      {"store 3 'Board Room'", {"store", "3", "Board Room"}},
      {"store 3 'Talk \\ #2'", {"store", "3", "Talk \\ #2"}},
      {"store 3 'say \"hi\"'", {"store", "3", "say \"hi\""}},
      {"store 3 \"it's\"", {"store", "3", "it's"}},
      {"store 3 Bob's", {}, true},
  };
  for (const Case& c : cases) {
    const auto split = splitWords(c.line);
    if (c.open) {
      EXPECT_TRUE(std::holds_alternative<std::string>(split)) << c.line;
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<Strings>(split)) << c.line;
    EXPECT_EQ(std::get<Strings>(split), c.words) << c.line;
  }
}

}  // namespace
}  // namespace orvane::cli
