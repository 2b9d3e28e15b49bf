#include "cli/CommandRunner.h"

#include <algorithm>
#include <charconv>

#include "cli/CommandLine.h"
#include "cli/DiffCommand.h"
#include "cli/IdSearchCommand.h"
#include "cli/ParameterCommands.h"
#include "cli/ProgramCommands.h"
#include "cli/ServerRoute.h"
#include "cli/StatusCommands.h"
#include "control/ParameterPath.h"
#include "model/ProductVariant.h"

namespace orvane::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

using Run = std::function<Outcome(CommandContext&, const Words&, const std::string& link)>;
using Check = std::string (*)(const Words& args);

struct CommandEntry {
  const char* name;
  const char* arguments;
  const char* summary;
  std::size_t minArgs;
  std::size_t maxArgs;
  Run run;
  Check check = nullptr;
};

template <Outcome (*F)(CommandContext&, const Words&)>
Run plain() {
  return [](CommandContext& context, const Words& args, const std::string&) { return F(context, args); };
}

std::string checkFirstPath(const Words& args) {
  return ParameterCommands::checkPath(args[0]);
}
std::string checkFirstChannel(const Words& args) {
  return ParameterCommands::checkChannel(args[0]);
}
std::string checkDiffSides(const Words& args) {
  return DiffCommand::check(args);
}
std::string checkSearchPort(const Words& args) {
  return IdSearchCommand::checkPort(args[0]);
}

const std::vector<CommandEntry>& entries() {
  static const std::vector<CommandEntry> table{
      {"status", "", "link, device ID, firmware and model, current program, a snapshot of the 16 meters", 0,
       0,
       [](CommandContext& c, const Words&, const std::string& link) {
         return StatusCommands::status(c, link);
       }},
      {"get", "PATH", "print a parameter as the editor shows it (see 'help paths')", 1, 1,
       plain<ParameterCommands::get>(), checkFirstPath},
      {"set", "PATH VALUE",
       "set a parameter in the editor's units (-6.5dB, 1.2k, 2.5ms, 4:1, OFF, on/off); a linked channel "
       "changes its group unless --no-link",
       2, 2, plain<ParameterCommands::set>(), checkFirstPath},
      {"programs", "", "list the 30 device programs, the current one marked", 0, 0,
       plain<ProgramCommands::list>()},
      {"recall", "N", "recall device program N (1-30)", 1, 1, plain<ProgramCommands::recall>()},
      {"store", "N NAME", "store the working state as device program N under NAME", 2, 2,
       plain<ProgramCommands::store>()},
      {"delete", "N", "delete device program N", 1, 1, plain<ProgramCommands::erase>()},
      {"save", "FILE",
       "save the working state to a one-program file; .dia1j (.dia1s for model 736) is appended unless the "
       "name holds it",
       1, 1, plain<ProgramCommands::saveOne>()},
      {"load", "FILE", "load a one-program file into the working state", 1, 1,
       plain<ProgramCommands::loadOne>()},
      {"backup", "FILE",
       "save all 30 device programs to an all-programs file; .dat1j (.dat1s for model 736) is appended "
       "unless the name holds it",
       1, 1, plain<ProgramCommands::backup>()},
      {"restore", "FILE", "store all 30 programs of an all-programs file into the device", 1, 1,
       plain<ProgramCommands::restore>()},
      {"report", "[--format text|csv|json|xlsx] [--output FILE]",
       "every parameter of the working state; a FILE ending in .txt, .csv, .json or .xlsx takes that format "
       "unless --format names one",
       0, 4, plain<StatusCommands::report>(), StatusCommands::checkReport},
      {"meters", "[--watch]", "the 16 level meters; --watch prints them until interrupted", 0, 1,
       plain<StatusCommands::meters>()},
      {"import-rew", "CHANNEL FILE",
       "take a Room EQ Wizard filter-settings file into the equaliser of CHANNEL (in.A .. out.8)", 2, 2,
       plain<ParameterCommands::importRew>(), checkFirstChannel},
      {"diff", "SIDE [SIDE]",
       "list the parameters whose values differ between two programs, each a one-program file, 'device' "
       "(the working state) or program:N (stored program N); the second is 'device' unless given; two files "
       "need no "
       "link; exit status 0 when equal, 1 when they differ",
       1, 2, plain<DiffCommand::run>(), checkDiffSides},
      {"batch", "",
       "run commands read from standard input, one per line ('#' outside quotes starts a comment)", 0, 0,
       nullptr},
      {"search-id", "serial:PORT",
       "probe device IDs 1-250 on the RS-485 bus at PORT (57600 8N1) and list the IDs that answer; the ID "
       "being probed shows on a terminal; no --connect needed; exit status 1 when none answers",
       1, 1, nullptr, checkSearchPort},
  };
  return table;
}

const CommandEntry* find(const std::string& name) {
  const auto& table = entries();
  const auto it = std::ranges::find_if(table, [&](const CommandEntry& e) { return name == e.name; });
  return it == table.end() ? nullptr : &*it;
}

std::string usageLine(const CommandEntry& e) {
  return std::string("orvanectl [options] ") + e.name + (*e.arguments ? " " : "") + e.arguments;
}

}  // namespace

CommandRunner::CommandRunner(CommandContext& context, std::string linkText)
    : context_(context), linkText_(std::move(linkText)) {}

std::optional<Outcome> CommandRunner::check(const Words& words) {
  if (words.empty()) return Outcome::usage("no command given; 'orvanectl --help' lists them");
  const CommandEntry* e = find(words[0]);
  if (!e) return Outcome::usage("unknown command '" + words[0] + "'; 'orvanectl --help' lists them");
  const Words args(words.begin() + 1, words.end());
  if (args.size() < e->minArgs || args.size() > e->maxArgs)
    return Outcome::usage("wrong number of arguments for '" + words[0] + "': " + usageLine(*e));
  if (e->check)
    if (std::string error = e->check(args); !error.empty()) return Outcome::usage(std::move(error));
  return std::nullopt;
}

std::string CommandRunner::help() {
  std::string text =
      "orvanectl: command-line control of the KVS7304 audio matrix processor\n\n"
      "Usage: orvanectl [--connect LINK] [--code-file FILE] [--model 7304|736] [--json] [--no-link] "
      "[--keep-going] COMMAND [ARGS]\n"
      "  or:  orvanectl help [COMMAND | paths]\n\n"
      "The options may also follow the command (orvanectl status --json); a value such as -6dB is the\n"
      "command's.\n\n"
      "LINK is usb, net:ADDR[:PORT], serial:PORT:ID or server:ADDR[:PORT] (default: the ORVANE_CONNECT\n"
      "variable).\n\n"
      "A device serves one link at a time: a new link replaces the one before, and the program that\n"
      "held it loses it. While orvane-server holds the device's link, go through it and share its\n"
      "link with --connect server:ADDR[:PORT] (the server's address; port " +
      std::to_string(ServerRoute::kDefaultPort) +
      " unless given): status, get,\n"
      "set, programs, recall, store, meters, backup and restore, alone or in a batch. The server's\n"
      "access code comes from the ORVANE_SERVER_CODE variable or from --code-file.\n\n"
      "  --code-file F  read the server's access code from the first line of F, a file of your own\n"
      "                 that only you may read (chmod 600 F)\n"
      "  --model M      the model served, 7304 or 736: the firmware accepted and the program files\n"
      "                 (default " +
      std::to_string(ProductVariant::builtDefault().modelCode) +
      ")\n"
      "  --json         machine-readable output, one JSON object per command\n"
      "  --no-link      'set' and 'import-rew' change only the channel named, not its link group\n"
      "  --keep-going   'batch' runs on after a failed command\n\n"
      "commands:\n";
  for (const CommandEntry& e : entries()) {
    // The summary two spaces or more after the command, or on a line of its
    // own when the command is long: how manual pages read an entry.
    constexpr std::size_t kSummaryColumn = 34;
    std::string head = std::string("  ") + e.name + " " + e.arguments;
    if (head.size() + 2 > kSummaryColumn) head += "\n";
    head.resize(head.back() == '\n' ? head.size() + kSummaryColumn : kSummaryColumn, ' ');
    text += head + e.summary + "\n";
  }
  text +=
      "\nA master unmute (set master.out.mute off) brings back the level this tool last saw the side\n"
      "sound at on the same link, kept between calls in $XDG_STATE_HOME/orvane (~/.local/state/orvane;\n"
      "%LOCALAPPDATA%\\orvane on Windows);\n"
      "when no level is known it is refused: set master.out.level first.\n"
      "\nexit status: 0 done, 1 the device refused, the link failed or a file could not be read or\n"
      "written, 2 a usage or value error.\n";
  return text;
}

std::optional<std::string> CommandRunner::help(const std::string& command) {
  if (command == "paths") {
    std::string text = "parameter paths and their values:\n";
    for (const std::string& family : control::ParameterPath::families()) text += "  " + family + "\n";
    return text;
  }
  const CommandEntry* e = find(command);
  if (!e) return std::nullopt;
  return usageLine(*e) + "\n  " + e->summary + "\n" +
         (ServerRoute::notOffered(command) && command != "batch"
              ? "  needs a direct link to the device: it is not offered through a server\n"
              : "  also through a running orvane-server: --connect server:ADDR[:PORT]\n");
}

Outcome CommandRunner::run(const Words& words) {
  if (auto refused = check(words)) return *refused;
  const CommandEntry& e = *find(words[0]);
  if (!e.run) return Outcome::usage("'" + words[0] + "' cannot run inside a batch");
  return e.run(context_, Words(words.begin() + 1, words.end()), linkText_);
}

Outcome CommandRunner::batch(std::istream& in, bool keepGoing, const Emit& emit,
                             const std::function<Outcome(const Words&)>& run) {
  Outcome worst = Outcome::done({}, Json::object());
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    // Editors on some systems begin a UTF-8 file with a byte-order mark.
    if (number == 1 && line.starts_with(kByteOrderMark)) line.erase(0, kByteOrderMark.size());
    const auto split = splitWords(line);
    Outcome outcome;
    if (const auto* error = std::get_if<std::string>(&split))
      outcome = Outcome::usage(*error);
    else if (std::get<Words>(split).empty())
      continue;
    else
      outcome = run(std::get<Words>(split));
    if (!outcome.ok()) outcome.error = "line " + std::to_string(number) + ": " + outcome.error;
    emit(outcome);
    if (outcome.status > worst.status) worst = Outcome{outcome.status, outcome.error, {}, {}};
    if (!outcome.ok() && !keepGoing) break;
  }
  return worst;
}

}  // namespace orvane::cli
