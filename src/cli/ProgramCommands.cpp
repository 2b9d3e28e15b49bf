#include "cli/ProgramCommands.h"

#include "cli/CommandTexts.h"
#include "editor/ProgramFiles.h"
#include "model/SaveName.h"

namespace orvane::cli::ProgramCommands {

namespace Operations = editor::ProgramOperations;
namespace Files = editor::ProgramFiles;

namespace {

// A program operation on the program numbered `word`, as a command.
template <class Operate>
Outcome onProgram(CommandContext& context, const std::string& word, const char* done, Operate operate) {
  const auto program = CommandTexts::programNumber(word);
  if (!program) return CommandTexts::notAProgram(word);
  const Operations::Result result = operate(context.session, *program);
  using Status = Operations::Result::Status;
  if (result.status == Status::NoName || result.status == Status::NameTooLong)
    return Outcome::usage(result.message);
  if (!result.done()) return Outcome::device(result.message);
  return CommandTexts::program(done, word, *program, result.name);
}

// The file a save writes, with the extension of its kind for the session's
// model, as the editor names it.
std::string fileName(CommandContext& context, const std::string& given,
                     std::string_view ProductVariant::*extension) {
  return SaveName::withExtension(given, context.session.variant().*extension).string();
}

}  // namespace

Outcome list(CommandContext& context, const Words&) {
  return CommandTexts::programs(Operations::list(context.session.image()));
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
  return CommandTexts::file(Files::saveOne(context.session, path), path, "",
                            "saved the working state to " + path + "\n");
}

// As the editor loads a program file: the file's blocks become the working
// state and are stored into it, and the file's name names it.
Outcome loadOne(CommandContext& context, const Words& args) {
  return CommandTexts::file(Files::loadOne(context.session, args[0], Operations::Until::Taken), args[0],
                            "a program file", "loaded " + args[0] + " into the working state\n", "restore");
}

Outcome backup(CommandContext& context, const Words& args) {
  Operations::Result result = Files::readAll(context.session, Operations::Until::Taken);
  const std::string path = fileName(context, args[0], &ProductVariant::programSetFileExtension);
  if (result.done()) result = Files::saveAll(context.session, path);
  return CommandTexts::backup(result, path);
}

Outcome restore(CommandContext& context, const Words& args) {
  return CommandTexts::restore(Files::loadAll(context.session, args[0], Operations::Until::Taken), args[0]);
}

}  // namespace orvane::cli::ProgramCommands
