#include "editor/ProgramOperations.h"

#include <algorithm>

#include "model/LockState.h"
#include "model/NameField.h"
#include "model/ProgramStore.h"

namespace orvane::editor::ProgramOperations {

namespace {

using Name = std::array<std::uint8_t, kProgramNameBytes>;

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

// One program, unless there is no link or its lock is set: `act` queues
// what the operation sends and gives the program's name.
template <class Act>
Result onProgram(EditorSession& session, int program, std::pair<int, const char*> lock, Until until,
                 Act act) {
  std::optional<Result> refused = linkRefusal(session);
  if (!refused) refused = refusal(session.image(), {lock});
  if (refused) {
    refused->program = program;
    return *refused;
  }
  const std::string name = NameField::FieldToText(act(session.image(), program));
  Result result = delivered(session, until);
  result.program = program;
  result.name = name;
  return result;
}

}  // namespace

Result Result::failed(Status status, std::string message) {
  Result result;
  result.status = status;
  result.message = std::move(message);
  return result;
}

std::optional<Result> linkRefusal(EditorSession& session) {
  if (session.connection().isConnected()) return std::nullopt;
  return Result::failed(Result::Status::NoLink, "no link to the device");
}

std::optional<Result> refusal(const ParameterImage& image,
                              std::initializer_list<std::pair<int, const char*>> flags) {
  const LockState locks = image.read([](const ImageData& d) { return d.locks; });
  for (const auto& [flag, what] : flags)
    if (locks.isLocked(flag))
      return Result::failed(Result::Status::Locked, std::string(what) + " is locked on the device");
  return std::nullopt;
}

Result delivered(EditorSession& session, Until until, std::optional<EditorSession::Seconds> wait) {
  if (until == Until::Queued) return Result{};
  std::string error = wait ? session.settle(*wait) : session.settle();
  return error.empty() ? Result{} : Result::failed(Result::Status::DeviceFailed, std::move(error));
}

Listing list(const ParameterImage& image) {
  // The names only are taken out of the image: the live stream asks twenty
  // times a second.
  return image.read([](const ImageData& d) {
    Listing listing;
    listing.current = d.currentProgramNumber;
    listing.currentName = NameField::FieldToText(d.currentProgramName);
    listing.names.reserve(d.programs.size());
    for (const auto& record : d.programs) listing.names.push_back(NameField::FieldToText(recordName(record)));
    return listing;
  });
}

// The blocks the device sends back replace the edited image once they all
// arrived: the recall's step closes then.
Result recall(EditorSession& session, int program, Until until) {
  EditHistory& history = session.history();
  const CountingNotifier& notifier = session.notifier();
  const int reads = notifier.count(Message::ChannelDataRead);
  history.begin();
  Result result = onProgram(
      session, program, {LockFlag::LoadProgram, "recalling programs"}, until,
      [&](ParameterImage& image, int number) {
        const Name name = image.read([number](const ImageData& d) {
          Name stored{};
          std::ranges::copy(recordName(d.programs[static_cast<std::size_t>(number - 1)]), stored.begin());
          return stored;
        });
        makeCurrent(image, number, name);
        session.command().RecallProgram(number);
        return name;
      });
  const std::string number = std::to_string(program);
  const StepName step("Recall program " + number, "调用程序 " + number);
  if (result.done())
    history.endWhen(step, [&notifier, reads] { return notifier.count(Message::ChannelDataRead) > reads; });
  else
    history.end(step);
  return result;
}

Result store(EditorSession& session, int program, const std::string& text, Until until) {
  if (auto refused = linkRefusal(session)) return *refused;
  if (text.empty() || NameField::FieldBytes(text) > kProgramNameBytes) {
    Result result = text.empty() ? Result::failed(Result::Status::NoName, "the program needs a name")
                                 : Result::failed(Result::Status::NameTooLong,
                                                  "the name '" + text +
                                                      "' is too long: a program name holds 16 letters or "
                                                      "digits, or 8 Chinese characters");
    result.program = program;
    return result;
  }
  return onProgram(session, program, {LockFlag::SaveProgram, "storing programs"}, until,
                   [&](ParameterImage& image, int number) {
                     Name name{};
                     NameField::TextToField(text, name);
                     makeCurrent(image, number, name);
                     session.command().StoreProgram(number);
                     return name;
                   });
}

Result erase(EditorSession& session, int program, Until until) {
  return onProgram(session, program, {LockFlag::DeleteProgram, "deleting programs"}, until,
                   [&](ParameterImage& image, int number) {
                     storeName(image, number, Name{});
                     session.command().SendProgramName(number);
                     return Name{};
                   });
}

}  // namespace orvane::editor::ProgramOperations
