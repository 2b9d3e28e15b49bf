#include "cli/ProgramCommands.h"

#include <algorithm>
#include <mutex>

#include "model/LockState.h"
#include "model/NameField.h"
#include "model/ProductVariant.h"
#include "model/ProgramFile.h"

namespace orvane::cli::ProgramCommands {

namespace {

constexpr int kPrograms = 30;
using Name = std::array<std::uint8_t, kProgramNameBytes>;

std::string nameText(std::span<const std::uint8_t> name) {
  return NameField::FieldToText(name);
}

int modelCode() {
  return ProductVariant::current().modelCode;
}

// The first of `flags` that is locked, as the refusal to give.
std::string lockedRefusal(const ParameterImage& image,
                          std::initializer_list<std::pair<int, const char*>> flags) {
  const LockState locks = image.read([](const ImageData& d) { return d.locks; });
  for (const auto& [flag, what] : flags)
    if (locks.isLocked(flag)) return std::string(what) + " is locked on the device";
  return {};
}

void storeName(ParameterImage& image, int program, const Name& name) {
  image.modify([&](ImageData& d) {
    d.currentProgramName = name;
    std::ranges::copy(name, recordName(d.programs[static_cast<std::size_t>(program - 1)]).begin());
  });
}

// The name stored with the program becomes the current program's.
void makeCurrent(ParameterImage& image, int program, const Name& name) {
  storeName(image, program, name);
  image.modify([program](ImageData& d) { d.currentProgramNumber = program; });
}

Json programJson(int number, const std::string& name) {
  return Json{{"program", number}, {"name", name}};
}

// One device program by its number (`word`), unless its lock is set: `act`
// queues what the operation sends and gives the program's name; the
// outcome comes once the device has it all.
template <class Act>
Outcome onProgram(CommandContext& context, const std::string& word, std::pair<int, const char*> lock,
                  const char* done, Act act) {
  const auto program = wholeNumber(word, 1, kPrograms);
  if (!program) return Outcome::usage("program '" + word + "' is not a number from 1 to 30");
  ParameterImage& image = context.session.image();
  if (const std::string refusal = lockedRefusal(image, {lock}); !refusal.empty())
    return Outcome::device(refusal);
  const Name name = act(image, *program);
  const std::string error = context.session.settle();
  const std::string number = std::to_string(*program);
  return Outcome::unless(error, std::string(done) + " program " + number + " " + nameText(name) + "\n",
                         programJson(*program, nameText(name)));
}

}  // namespace

Outcome list(CommandContext& context, const Words&) {
  const auto [store, current, currentName] = context.session.image().read([](const ImageData& d) {
    return std::tuple(d.programs, d.currentProgramNumber, d.currentProgramName);
  });
  std::string text;
  Json programs = Json::array();
  for (int p = 1; p <= kPrograms; ++p) {
    const std::string name = nameText(recordName(store[static_cast<std::size_t>(p - 1)]));
    text += (p == current ? "* " : "  ") + std::to_string(p) + (p < 10 ? "   " : "  ") + name + "\n";
    programs.push_back(programJson(p, name));
  }
  return Outcome::done(text, Json{{"current", programJson(current, nameText(currentName))},
                                  {"programs", std::move(programs)}});
}

Outcome recall(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], {LockFlag::LoadProgram, "recalling programs"}, "recalled",
                   [&](ParameterImage& image, int program) {
                     const Name name = image.read([program](const ImageData& d) {
                       Name stored{};
                       std::ranges::copy(recordName(d.programs[static_cast<std::size_t>(program - 1)]),
                                         stored.begin());
                       return stored;
                     });
                     makeCurrent(image, program, name);
                     context.session.command().RecallProgram(program);
                     return name;
                   });
}

Outcome store(CommandContext& context, const Words& args) {
  const std::string& text = args[1];
  if (text.empty()) return Outcome::usage("the program needs a name");
  if (NameField::FieldBytes(text) > kProgramNameBytes)
    return Outcome::usage(
        "the name '" + text +
        "' is too long: a program name holds 16 letters or digits, or 8 Chinese characters");
  return onProgram(context, args[0], {LockFlag::SaveProgram, "storing programs"}, "stored",
                   [&](ParameterImage& image, int program) {
                     Name name{};
                     NameField::TextToField(text, name);
                     makeCurrent(image, program, name);
                     context.session.command().StoreProgram(program);
                     return name;
                   });
}

Outcome erase(CommandContext& context, const Words& args) {
  return onProgram(context, args[0], {LockFlag::DeleteProgram, "deleting programs"}, "deleted",
                   [&](ParameterImage& image, int program) {
                     storeName(image, program, Name{});
                     context.session.command().SendProgramName(program);
                     return Name{};
                   });
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
