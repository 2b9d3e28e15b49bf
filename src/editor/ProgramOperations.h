#pragma once

// The device's stored programs, as every front-end handles them: the list
// with the current program, and recalling, storing and deleting one
// program, each refused without a link and while its lock is set. A
// program without a window has an operation return once the device took
// it; the editor's window only has it queued, and its progress bar shows
// the rest.

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/EditorSession.h"
#include "platform/AtomicFile.h"

namespace orvane::editor::ProgramOperations {

struct Result {
  enum class Status {
    Done,
    NoName,        // a program is stored under a name
    NameTooLong,   // longer than a program name holds
    NoLink,        // the operation needs the device
    Locked,        // the device's lock forbids it
    Unreadable,    // the file cannot be read
    WrongFile,     // the file is not of this kind and model
    NotWritten,    // the file cannot be written; `written` says why
    DeviceFailed,  // the device did not take it
  };

  Status status = Status::Done;
  std::string message;  // why, unless done
  int program = 0;
  std::string name;  // the program's name after the operation
  AtomicFile::Result written;

  bool done() const { return status == Status::Done; }
  static Result failed(Status status, std::string message = {});
};

// When an operation that sends to the device returns: once its frames are
// queued (the editor's window, whose progress bar shows the rest), or once
// the device took them (a program without a window).
enum class Until { Queued, Taken };

struct Listing {
  int current = 0;  // 0: none recalled or stored since the link opened
  std::string currentName;
  std::vector<std::string> names;  // programs 1 .. 30
};

Listing list(const ParameterImage& image);
// `program` is 1 .. 30.
// A recall is one step of the session's history.
Result recall(EditorSession& session, int program, Until until = Until::Taken);
Result store(EditorSession& session, int program, const std::string& name, Until until = Until::Taken);
Result erase(EditorSession& session, int program, Until until = Until::Taken);

// NoLink unless the session's link is open.
std::optional<Result> linkRefusal(EditorSession& session);
// The refusal by the first of `flags` (a lock flag and what it guards:
// "recalling programs") that is locked on the device; nothing when none is.
std::optional<Result> refusal(const ParameterImage& image,
                              std::initializer_list<std::pair<int, const char*>> flags);
// Done once the device took everything queued, when `until` asks for it;
// waits at most `wait`, or the session's wait limit when none is given.
Result delivered(EditorSession& session, Until until, std::optional<EditorSession::Seconds> wait = {});

}  // namespace orvane::editor::ProgramOperations
