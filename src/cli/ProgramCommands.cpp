#include "cli/ProgramCommands.h"

#include <algorithm>
#include <mutex>

#include "editor/ProgramOperations.h"
#include "model/LockState.h"
#include "model/NameField.h"
#include "model/ProductVariant.h"
#include "model/ProgramFile.h"
#include "model/ProgramStore.h"
#include "platform/ParseNumber.h"

namespace orvane::cli::ProgramCommands {

using editor::ProgramOperations::lockedRefusal;
namespace Operations = editor::ProgramOperations;

namespace {

int modelCode() {
  return ProductVariant::current().modelCode;
}

// A program operation on the program numbered `word`, as a command.
template <class Operate>
Outcome onProgram(CommandContext& context, const std::string& word, const char* done, Operate operate) {
  const auto program = parseNumber(word, 1, kPrograms);
  if (!program) return Outcome::usage("program '" + word + "' is not a number from 1 to 30");
  const Operations::Result result = operate(context.session, *program);
  if (result.status == Operations::Result::Status::BadName) return Outcome::usage(result.message);
  if (!result.done()) return Outcome::device(result.message);
  return Outcome::done(std::string(done) + " program " + word + " " + result.name + "\n",
                       programJson(*program, result.name));
}

}  // namespace

Json programJson(int number, const std::string& name) {
  return Json{{"program", number}, {"name", name}};
}

Json programsJson(const std::vector<std::string>& names) {
  Json programs = Json::array();
  for (std::size_t p = 0; p < names.size(); ++p)
    programs.push_back(programJson(static_cast<int>(p) + 1, names[p]));
  return programs;
}

Outcome list(CommandContext& context, const Words&) {
  const Operations::Listing listing = Operations::list(context.session.image());
  std::string text;
  for (int p = 1; p <= kPrograms; ++p) {
    const std::string& name = listing.names[static_cast<std::size_t>(p - 1)];
    text += (p == listing.current ? "* " : "  ") + std::to_string(p) + (p < 10 ? "   " : "  ") + name + "\n";
  }
  return Outcome::done(text, Json{{"current", programJson(listing.current, listing.currentName)},
                                  {"programs", programsJson(listing.names)}});
}

Outcome recall(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], "recalled", Operations::recall);
}

Outcome store(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], "stored", [&](EditorSession& session, int program) {
    return Operations::store(session, program, args[1]);
  });
}

Outcome erase(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], "deleted", Operations::erase);
}

Outcome saveOne(CommandContext& context, const Words& args) {
  ParameterImage& image = context.session.image();
  if (const std::string refusal = lockedRefusal(image, {{LockFlag::SaveProgram, "saving programs"}});
      !refusal.empty())
    return Outcome::device(refusal);
  if (const auto written = ProgramFile::writeBytes(args[0], ProgramFile::writeOne(image, modelCode()));
      !written)
    return Outcome::notWritten("the file", args[0], written);
  return Outcome::done("saved the working state to " + args[0] + "\n", Json{{"file", args[0]}});
}

// As the editor loads a program file: the file's blocks become the working
// state and are stored into it, and the file's name names it.
Outcome loadOne(CommandContext& context, const Words& args) {
  ParameterImage& image = context.session.image();
  if (const std::string refusal = lockedRefusal(image, {{LockFlag::LoadProgram, "loading programs"}});
      !refusal.empty())
    return Outcome::device(refusal);
  const auto bytes = ProgramFile::readBytes(args[0]);
  if (!bytes) return Outcome::usage("cannot read the file '" + args[0] + "'");
  Command& command = context.session.command();
  {
    std::lock_guard lock(command.protocolLock());
    const std::optional<ProgramFile::OneProgram> file = ProgramFile::readOne(*bytes, modelCode());
    if (!file) return Outcome::usage("'" + args[0] + "' is not a program file of this model");
    ProgramFile::applyOne(image, *file);
    command.StoreProgram(0);
  }
  const auto name = ProgramFile::nameFromFileName(std::filesystem::path(args[0]).filename().string());
  image.modify([&](ImageData& d) { d.currentProgramName = name; });
  const std::string error = context.session.settle();
  return Outcome::unless(error, "loaded " + args[0] + " into the working state\n", Json{{"file", args[0]}});
}

Outcome backup(CommandContext& context, const Words& args) {
  EditorSession& session = context.session;
  if (const std::string refusal = lockedRefusal(
          session.image(),
          {{LockFlag::LoadProgram, "reading programs"}, {LockFlag::SaveProgram, "saving programs"}});
      !refusal.empty())
    return Outcome::device(refusal);
  const int reads = session.notifier().count(Message::AllProgramsRead);
  session.command().ReadAllPrograms();
  if (const std::string error = session.waitFor(Message::AllProgramsRead, reads + 1); !error.empty())
    return Outcome::device(error);
  if (const auto written =
          ProgramFile::writeBytes(args[0], ProgramFile::writeAll(session.image(), modelCode()));
      !written)
    return Outcome::notWritten("the file", args[0], written);
  return Outcome::done("saved all 30 programs to " + args[0] + "\n", Json{{"file", args[0]}});
}

Outcome restore(CommandContext& context, const Words& args) {
  EditorSession& session = context.session;
  if (const std::string refusal = lockedRefusal(
          session.image(),
          {{LockFlag::LoadProgram, "loading programs"}, {LockFlag::SaveProgram, "storing programs"}});
      !refusal.empty())
    return Outcome::device(refusal);
  const auto bytes = ProgramFile::readBytes(args[0]);
  if (!bytes) return Outcome::usage("cannot read the file '" + args[0] + "'");
  const std::unique_ptr<ProgramStore> store = ProgramFile::readAll(*bytes, modelCode());
  if (!store) return Outcome::usage("'" + args[0] + "' is not an all-programs file of this model");
  ProgramFile::applyAll(session.image(), *store);
  session.command().StoreAllPrograms();
  const std::string error = session.settle();
  return Outcome::unless(error, "stored all 30 programs from " + args[0] + "\n", Json{{"file", args[0]}});
}

}  // namespace orvane::cli::ProgramCommands
