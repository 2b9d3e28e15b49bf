#include "cli/ProgramCommands.h"

#include "editor/ProgramFiles.h"
#include "model/ProgramStore.h"
#include "model/SaveName.h"
#include "platform/ParseNumber.h"

namespace orvane::cli::ProgramCommands {

namespace Operations = editor::ProgramOperations;
namespace Files = editor::ProgramFiles;
namespace DeviceJson = control::DeviceJson;

namespace {

// A program file operation on the file at `path` (`kind`: "a program
// file", what it must be when read; `otherCommand`: the command that reads
// the other kind of program file), as a command.
Outcome fileOutcome(const Operations::Result& result, const std::string& path, const std::string& kind,
                    std::string doneText, const char* otherCommand = "") {
  using Status = Operations::Result::Status;
  if (result.status == Status::Unreadable) return Outcome::unreadable(path);
  if (result.status == Status::WrongFile && !result.message.empty())
    return Outcome::usage("'" + path + "' is " + result.message + ": use " + otherCommand + " for it");
  if (result.status == Status::WrongFile)
    return Outcome::usage("'" + path + "' is not " + kind + " of this model");
  if (result.status == Status::NotWritten) return Outcome::notWritten("the file", path, result.written);
  if (!result.done()) return Outcome::device(result.message);
  return Outcome::done(std::move(doneText), Json{{"file", path}});
}

// A program operation on the program numbered `word`, as a command.
template <class Operate>
Outcome onProgram(CommandContext& context, const std::string& word, const char* done, Operate operate) {
  const auto program = parseNumber(word, 1, kPrograms);
  if (!program) return Outcome::usage("program '" + word + "' is not a number from 1 to 30");
  const Operations::Result result = operate(context.session, *program);
  using Status = Operations::Result::Status;
  if (result.status == Status::NoName || result.status == Status::NameTooLong)
    return Outcome::usage(result.message);
  if (!result.done()) return Outcome::device(result.message);
  return Outcome::done(std::string(done) + " program " + word + " " + result.name + "\n",
                       DeviceJson::program(*program, result.name));
}

// The file a save writes, with the extension of its kind for the session's
// model, as the editor names it.
std::string fileName(CommandContext& context, const std::string& given,
                     std::string_view ProductVariant::*extension) {
  return SaveName::withExtension(given, context.session.variant().*extension).string();
}

}  // namespace

Outcome list(CommandContext& context, const Words&) {
  const Operations::Listing listing = Operations::list(context.session.image());
  std::string text;
  for (int p = 1; p <= kPrograms; ++p) {
    const std::string& name = listing.names[static_cast<std::size_t>(p - 1)];
    text += (p == listing.current ? "* " : "  ") + std::to_string(p) +
            (name.empty() ? "" : (p < 10 ? "   " : "  ") + name) + "\n";
  }
  return Outcome::done(text, Json{{"current", DeviceJson::program(listing.current, listing.currentName)},
                                  {"programs", DeviceJson::programs(listing.names)}});
}

Outcome recall(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], "recalled",
                   [](EditorSession& session, int program) { return Operations::recall(session, program); });
}

Outcome store(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], "stored", [&](EditorSession& session, int program) {
    return Operations::store(session, program, args[1]);
  });
}

Outcome erase(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], "deleted",
                   [](EditorSession& session, int program) { return Operations::erase(session, program); });
}

Outcome saveOne(CommandContext& context, const Words& args) {
  const std::string path = fileName(context, args[0], &ProductVariant::programFileExtension);
  return fileOutcome(Files::saveOne(context.session, path), path, "",
                     "saved the working state to " + path + "\n");
}

// As the editor loads a program file: the file's blocks become the working
// state and are stored into it, and the file's name names it.
Outcome loadOne(CommandContext& context, const Words& args) {
  return fileOutcome(Files::loadOne(context.session, args[0], Operations::Until::Taken), args[0],
                     "a program file", "loaded " + args[0] + " into the working state\n", "restore");
}

Outcome backup(CommandContext& context, const Words& args) {
  Operations::Result result = Files::readAll(context.session, Operations::Until::Taken);
  const std::string path = fileName(context, args[0], &ProductVariant::programSetFileExtension);
  if (result.done()) result = Files::saveAll(context.session, path);
  return fileOutcome(result, path, "", "saved all 30 programs to " + path + "\n");
}

Outcome restore(CommandContext& context, const Words& args) {
  return fileOutcome(Files::loadAll(context.session, args[0], Operations::Until::Taken), args[0],
                     "an all-programs file", "stored all 30 programs from " + args[0] + "\n", "load");
}

}  // namespace orvane::cli::ProgramCommands
