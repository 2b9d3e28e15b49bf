#pragma once

// The device's stored programs, as every editor without a window handles
// them: the list with the current program, and recalling, storing and
// deleting one program, each refused while its lock is set and done once
// the device has taken it.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "editor/EditorSession.h"

namespace orvane::editor::ProgramOperations {

struct Result {
  enum class Status { Done, BadName, Locked, DeviceFailed };

  Status status = Status::Done;
  std::string message;  // why, unless done
  int program = 0;
  std::string name;  // the program's name after the operation

  bool done() const { return status == Status::Done; }
};

struct Listing {
  int current = 0;  // 0: none recalled or stored since the link opened
  std::string currentName;
  std::vector<std::string> names;  // programs 1 .. 30
};

Listing list(const ParameterImage& image);
// `program` is 1 .. 30.
Result recall(EditorSession& session, int program);
Result store(EditorSession& session, int program, const std::string& name);
Result erase(EditorSession& session, int program);

// The first of `flags` (a lock flag and what it guards: "recalling
// programs") that is locked on the device, as the refusal to give; empty
// when none is.
std::string lockedRefusal(const ParameterImage& image,
                          std::initializer_list<std::pair<int, const char*>> flags);

}  // namespace orvane::editor::ProgramOperations
