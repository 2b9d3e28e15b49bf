#include "cli/Application.h"

#include <atomic>
#include <csignal>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/CommandRunner.h"
#include "model/Language.h"

namespace orvane::cli::Application {

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
  interrupted = true;
}

struct Printer {
  bool json;
  std::ostream& out;
  std::ostream& err;

  void operator()(const Outcome& outcome) const {
    if (!outcome.ok()) {
      err << "orvanectl: " << outcome.error << '\n';
      if (json)
        out << control::DeviceJson::dump(Json{{"error", outcome.error}, {"status", outcome.status}}) << '\n';
    } else if (json) {
      out << control::DeviceJson::dump(outcome.json) << '\n';
    } else {
      out << outcome.text;
    }
    out.flush();
  }
};

int helpFor(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const bool named = line.words.size() > 1 && line.words[0] == "help";
  const std::string topic = named ? line.words[1] : (line.help && !line.words.empty() ? line.words[0] : "");
  if (topic.empty()) {
    out << CommandRunner::help();
    return Outcome::Done;
  }
  if (const auto text = CommandRunner::help(topic)) {
    out << *text;
    return Outcome::Done;
  }
  err << "orvanectl: unknown command '" << topic << "'\n";
  return Outcome::UsageError;
}

bool asksForHelp(const CommandLine& line) {
  return line.help || (!line.words.empty() && line.words[0] == "help") ||
         (line.words.size() > 1 && (line.words[1] == "--help" || line.words[1] == "-h"));
}

}  // namespace

int run(const std::vector<std::string>& args, const char* environmentConnect, std::istream& in,
        std::ostream& out, std::ostream& err) {
  Language::setFlag(1);
  const auto parsed = CommandLine::parse(args, environmentConnect);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    err << "orvanectl: " << *error << '\n';
    return Outcome::UsageError;
  }
  CommandLine line = std::get<CommandLine>(parsed);
  if (asksForHelp(line)) {
    if (line.words.size() > 1 && line.words[0] != "help") line.help = true;
    return helpFor(line, out, err);
  }
  const Printer print{line.json, out, err};
  const bool batch = !line.words.empty() && line.words[0] == "batch";
  if (auto refused = CommandRunner::check(line.words)) {
    print(*refused);
    return refused->status;
  }
  const auto target = ConnectTarget::parse(line.connect);
  if (!target) {
    print(Outcome::usage(line.connect.empty()
                             ? "no link given: use --connect or set ORVANE_CONNECT"
                             : ConnectTarget::refusal(line.connect) +
                                   (line.connectFromEnvironment ? " (from ORVANE_CONNECT)" : "")));
    return Outcome::UsageError;
  }

  EditorSession session(EditorSession::defaultTimings(), line.model);
  if (const std::string error = session.open(*target); !error.empty()) {
    print(Outcome::device(error));
    return Outcome::Failed;
  }
  interrupted = false;
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  CommandContext context{session, !line.noLink,
                         [&](const std::string& text) { out << text << '\n'
                                                            << std::flush; },
                         [] { return interrupted.load(); }};
  CommandRunner runner(context, line.connect);
  if (batch) return runner.batch(in, line.keepGoing, print).status;
  const Outcome outcome = runner.run(line.words);
  print(outcome);
  return outcome.status;
}

}  // namespace orvane::cli::Application
