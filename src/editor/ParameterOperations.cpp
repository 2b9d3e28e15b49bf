#include "editor/ParameterOperations.h"

#include "control/PathLocks.h"

namespace orvane::editor::ParameterOperations {

namespace {

Result failed(Result::Status status, std::string message) {
  Result result;
  result.status = status;
  result.message = std::move(message);
  return result;
}

}  // namespace

std::string lockRefusal(EditorSession& session, std::string_view function) {
  const LockState locks = session.image().read([](const ImageData& d) { return d.locks; });
  return control::PathLocks::refusal(function, locks);
}

std::string deliver(EditorSession& session, control::Delivery delivery) {
  Command& command = session.command();
  switch (delivery) {
    case control::Delivery::SetupBlock:
      command.SendSystemItem52();
      break;
    case control::Delivery::ExtendedBlock:
      command.SendSystemItem53();
      break;
    case control::Delivery::StartupProgram:
      // The program travels in the payload; the header names no program.
      command.SendSystemItem(0, SystemItem::StartupProgram);
      break;
    case control::Delivery::Rows:
      break;
  }
  command.WakeWorker();
  return session.settle();
}

Result get(EditorSession& session, const control::ParameterPath& path) {
  if (std::string refusal = lockRefusal(session, path.name()); !refusal.empty())
    return failed(Result::Status::Locked, std::move(refusal));
  Result result;
  result.text = path.text(session.image());
  return result;
}

Result set(EditorSession& session, const control::ParameterPath& path, const std::string& value,
           bool followLinks) {
  if (std::string refusal = lockRefusal(session, path.name()); !refusal.empty())
    return failed(Result::Status::Locked, std::move(refusal));
  // A link opened anew reads a muted master as silent; the level to
  // restore comes from what this program saw before, or is unknown.
  session.masterMemory().prime(session.image());
  // One step for the user's undo, the linked channels' copies included,
  // named after the value it left.
  control::SetOutcome outcome = session.history().record(
      [&] { return path.set(session.image(), &session.links(), value, followLinks); },
      [] { return StepName(); });
  session.masterMemory().learn(session.image());
  if (!outcome.error.empty()) return failed(Result::Status::BadValue, std::move(outcome.error));
  if (std::string error = deliver(session, outcome.delivery); !error.empty())
    return failed(Result::Status::DeviceFailed, std::move(error));
  Result result;
  result.text = path.text(session.image());
  result.changed = std::move(outcome.changed);
  return result;
}

}  // namespace orvane::editor::ParameterOperations
