#include "editor/ProgramFiles.h"

#include <mutex>

#include "model/LockState.h"
#include "model/ProgramFile.h"

namespace orvane::editor::ProgramFiles {

namespace {

using Status = Result::Status;

// The program files are those of the model the session serves.
int modelCode(const EditorSession& session) {
  return session.variant().modelCode;
}

// The current program name a one-program file gives.
void nameAfter(ParameterImage& image, const std::filesystem::path& path) {
  const auto name = ProgramFile::nameFromFileName(path.filename().string());
  image.modify([&](ImageData& d) { d.currentProgramName = name; });
}

Result write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  Result result;
  result.written = ProgramFile::writeBytes(path, bytes);
  if (!result.written) result.status = Status::NotWritten;
  return result;
}

// What `bytes` are when they are a program file of this model after all —
// of the other kind than was asked for: "a one-program file" or "an
// all-programs file"; empty when they are neither.
std::string kindOf(const std::vector<std::uint8_t>& bytes, int model) {
  if (ProgramFile::readOne(bytes, model)) return "a one-program file";
  if (ProgramFile::readAll(bytes, model)) return "an all-programs file";
  return {};
}

// The bytes of a file taken by `take` (false: not a file of its kind). A
// file refused as not of its kind says what it is, where it is the other
// kind of program file.
template <class Take>
Result takeBytes(EditorSession& session, const std::vector<std::uint8_t>& bytes, Take take) {
  return take(bytes) ? Result{} : Result::failed(Status::WrongFile, kindOf(bytes, modelCode(session)));
}

// The file's bytes taken by `take`, unless `locks` refuse.
template <class Take>
Result readInto(EditorSession& session, const std::filesystem::path& path,
                std::initializer_list<std::pair<int, const char*>> locks, Take take) {
  if (auto refused = ProgramOperations::refusal(session.image(), locks)) return *refused;
  const auto bytes = ProgramFile::readBytes(path);
  if (!bytes) return Result::failed(Status::Unreadable);
  return takeBytes(session, *bytes, take);
}

// An all-programs file replaces the whole program store.
constexpr std::initializer_list<std::pair<int, const char*>> kLoadAllLocks{
    {LockFlag::LoadProgram, "loading programs"}, {LockFlag::SaveProgram, "storing programs"}};

}  // namespace

// The protocol lock is held from reading the file until its frames are
// queued, so the worker never sends half of it. The file's blocks are one
// step of the session's history.
Result loadOne(EditorSession& session, const std::filesystem::path& path, Until until) {
  Command& command = session.command();
  const Result read = session.history().record(
      [&] {
        return readInto(session, path, {{LockFlag::LoadProgram, "loading programs"}},
                        [&](const std::vector<std::uint8_t>& bytes) {
                          std::lock_guard lock(command.protocolLock());
                          const auto file = ProgramFile::readOne(bytes, modelCode(session));
                          if (!file) return false;
                          ProgramFile::applyOne(session.image(), *file);
                          command.StoreProgram(0);
                          return true;
                        });
      },
      [&] {
        const std::string file = path.filename().string();
        return StepName("Load " + file, "载入 " + file);
      });
  if (!read.done()) return read;
  nameAfter(session.image(), path);
  return ProgramOperations::delivered(session, until);
}

Result saveOne(EditorSession& session, const std::filesystem::path& path) {
  ParameterImage& image = session.image();
  if (auto refused = ProgramOperations::refusal(image, {{LockFlag::SaveProgram, "saving programs"}}))
    return *refused;
  Result result = write(path, ProgramFile::writeOne(image, modelCode(session)));
  if (result.done()) nameAfter(image, path);
  return result;
}

Result loadAll(EditorSession& session, const std::filesystem::path& path, Until until) {
  if (auto refused = ProgramOperations::refusal(session.image(), kLoadAllLocks)) return *refused;
  const auto bytes = ProgramFile::readBytes(path);
  if (!bytes) return Result::failed(Status::Unreadable);
  return loadAll(session, *bytes, until);
}

Result loadAll(EditorSession& session, const std::vector<std::uint8_t>& bytes, Until until,
               std::optional<EditorSession::Seconds> wait) {
  if (auto refused = ProgramOperations::refusal(session.image(), kLoadAllLocks)) return *refused;
  const Result read = takeBytes(session, bytes, [&](const std::vector<std::uint8_t>& file) {
    const std::unique_ptr<ProgramStore> store = ProgramFile::readAll(file, modelCode(session));
    if (store) ProgramFile::applyAll(session.image(), *store);
    return store != nullptr;
  });
  if (!read.done() || !session.connection().isConnected()) return read;
  session.command().StoreAllPrograms();
  return ProgramOperations::delivered(session, until, wait);
}

Result readAll(EditorSession& session, Until until, std::optional<EditorSession::Seconds> wait) {
  if (auto refused = ProgramOperations::linkRefusal(session)) return *refused;
  if (auto refused = ProgramOperations::refusal(
          session.image(),
          {{LockFlag::LoadProgram, "reading programs"}, {LockFlag::SaveProgram, "saving programs"}}))
    return *refused;
  const int reads = session.notifier().count(Message::AllProgramsRead);
  session.command().ReadAllPrograms();
  if (until == Until::Queued) return Result{};
  std::string error = wait ? session.waitFor(Message::AllProgramsRead, reads + 1, *wait)
                           : session.waitFor(Message::AllProgramsRead, reads + 1);
  return error.empty() ? Result{} : Result::failed(Status::DeviceFailed, std::move(error));
}

std::vector<std::uint8_t> allPrograms(EditorSession& session) {
  return ProgramFile::writeAll(session.image(), modelCode(session));
}

Result saveAll(EditorSession& session, const std::filesystem::path& path) {
  return write(path, allPrograms(session));
}

}  // namespace orvane::editor::ProgramFiles
