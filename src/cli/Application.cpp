#include "cli/Application.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "cli/CommandLine.h"
#include "cli/CommandRunner.h"
#include "cli/DiffCommand.h"
#include "cli/IdSearchCommand.h"
#include "cli/MasterLevelFile.h"
#include "cli/ServerRoute.h"
#include "model/Language.h"
#include "platform/PrivateFile.h"
#include "platform/UserFolders.h"

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
    if (!outcome.error.empty()) {
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
  // One line at once (the watch of the meters).
  void line(const std::string& text) const { out << text << '\n' << std::flush; }
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

// From now on Ctrl+C and SIGTERM end a watch or a batch between commands.
void watchInterrupts() {
  interrupted = false;
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
}

// The access code for the server: the first line of --code-file, or the
// ORVANE_SERVER_CODE variable; an error outcome when there is none.
std::variant<std::string, Outcome> serverCode(const CommandLine& line, const char* environmentCode) {
  // Enough for any code someone types.
  constexpr std::size_t kLongestCodeFile = 256;
  if (!line.codeFile.empty()) {
    PrivateFile::Line read = PrivateFile::firstLine(line.codeFile, "access code", kLongestCodeFile);
    if (!read.error.empty()) return Outcome::device(read.error);
    return std::move(read.text);
  }
  if (environmentCode && *environmentCode) return std::string(environmentCode);
  return Outcome::usage("the server needs its access code: set ORVANE_SERVER_CODE or give --code-file FILE");
}

// The command, or the batch, through the server `line` names.
int throughServer(const CommandLine& line, const char* environmentCode, std::istream& in,
                  const Printer& print) {
  const auto finish = [&print](const Outcome& outcome) {
    print(outcome);
    return outcome.status;
  };
  const auto server = ServerRoute::parse(line.connect);
  if (!server)
    return finish(Outcome::usage(ServerRoute::refusal(line.connect) +
                                 (line.connectFromEnvironment ? " (from ORVANE_CONNECT)" : "")));
  const bool batch = line.words[0] == "batch";
  if (auto refused = batch ? std::nullopt : ServerRoute::notOffered(line.words[0])) return finish(*refused);
  if (line.noLink)
    return finish(
        Outcome::usage("--no-link needs a direct link to the device; through the server a change "
                       "follows the channel's link group"));
  auto code = serverCode(line, environmentCode);
  if (const auto* refused = std::get_if<Outcome>(&code)) return finish(*refused);
  ServerClient client(*server, std::get<std::string>(code));
  watchInterrupts();
  ServerRoute route(
      client, line.connect, line.model, [&print](const std::string& text) { print.line(text); },
      [] { return interrupted.load(); });
  if (batch)
    return CommandRunner::batch(in, line.keepGoing, print,
                                [&route](const Words& words) { return route.run(words); })
        .status;
  return finish(route.run(line.words));
}

bool asksForHelp(const CommandLine& line) {
  return line.help || (!line.words.empty() && line.words[0] == "help");
}

// Keeps the master levels to restore for the next call. A failure to keep
// them is told but fails nothing: the device took the command.
void keepMasterLevels(const std::optional<MasterLevelFile>& file, const MasterSectionMemory& before,
                      const MasterSectionMemory& now, std::ostream& err) {
  if (!file || now == before) return;
  if (const std::string error = file->write(now); !error.empty())
    err << "orvanectl: the master level to restore is not kept in '" << file->path().string()
        << "': " << error << '\n';
}

}  // namespace

int run(const std::vector<std::string>& args, const Environment& environment, std::istream& in,
        std::ostream& out, std::ostream& err) {
  Language::setFlag(1);
  const auto parsed = CommandLine::parse(args, environment.connect);
  if (const auto* error = std::get_if<std::string>(&parsed)) {
    err << "orvanectl: " << *error << '\n';
    return Outcome::UsageError;
  }
  CommandLine line = std::get<CommandLine>(parsed);
  if (asksForHelp(line)) return helpFor(line, out, err);
  const Printer print{line.json, out, err};
  const bool batch = !line.words.empty() && line.words[0] == "batch";
  if (auto refused = CommandRunner::check(line.words)) {
    print(*refused);
    return refused->status;
  }
  if (line.words[0] == "search-id") {
    const Outcome outcome =
        IdSearchCommand::run(line.words[1], line.model, err, ::isatty(STDERR_FILENO) == 1);
    print(outcome);
    return outcome.status;
  }
  if (line.words[0] == "diff" && DiffCommand::offline(Words(line.words.begin() + 1, line.words.end()))) {
    const Outcome outcome = DiffCommand::files(Words(line.words.begin() + 1, line.words.end()), line.model);
    print(outcome);
    return outcome.status;
  }
  if (ServerRoute::named(line.connect)) return throughServer(line, environment.serverCode, in, print);
  const auto target = ConnectTarget::parse(line.connect);
  if (!target) {
    print(Outcome::usage(line.connect.empty()
                             ? "no link given: use --connect or set ORVANE_CONNECT"
                             : ConnectTarget::refusal(line.connect) +
                                   (line.connectFromEnvironment ? " (from ORVANE_CONNECT)" : "")));
    return Outcome::UsageError;
  }

  EditorSession session(EditorSession::defaultTimings(), line.model);
  const auto levelFile = MasterLevelFile::of(*target, UserFolders::state());
  const MasterSectionMemory keptLevels = levelFile ? levelFile->read() : MasterSectionMemory();
  session.masterMemory() = keptLevels;
  if (const std::string error = session.open(*target); !error.empty()) {
    print(Outcome::device(error));
    return Outcome::Failed;
  }
  watchInterrupts();
  CommandContext context{session, !line.noLink, [&print](const std::string& text) { print.line(text); },
                         [] { return interrupted.load(); }};
  CommandRunner runner(context, line.connect);
  int status = Outcome::Done;
  if (batch) {
    status = CommandRunner::batch(in, line.keepGoing, print, [&runner](const Words& words) {
               return runner.run(words);
             }).status;
  } else {
    const Outcome outcome = runner.run(line.words);
    print(outcome);
    status = outcome.status;
  }
  keepMasterLevels(levelFile, keptLevels, session.masterMemory(), err);
  return status;
}

}  // namespace orvane::cli::Application
