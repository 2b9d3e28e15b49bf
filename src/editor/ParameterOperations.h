#pragma once

// Reading and setting one parameter by its path, as every editor without a
// window does it: a function locked on the device is neither read nor
// changed; a new value goes into the image (and into the channels linked
// with its channel, when asked), then to the device, and a set returns once
// the device took it. A master unmute brings back the level the session's
// master memory holds and is refused while that is unknown.

#include <string>
#include <string_view>
#include <vector>

#include "control/ParameterPath.h"
#include "editor/EditorSession.h"

namespace orvane::editor::ParameterOperations {

struct Result {
  enum class Status { Done, BadValue, Locked, DeviceFailed };

  Status status = Status::Done;
  std::string message;               // why, unless done
  std::string text;                  // the value as it reads now, when done
  std::vector<std::string> changed;  // a set: every path whose value changed, linked channels included

  bool done() const { return status == Status::Done; }
};

Result get(EditorSession& session, const control::ParameterPath& path);
Result set(EditorSession& session, const control::ParameterPath& path, const std::string& value,
           bool followLinks);

// Why the function named `function` ("in.A.gain", "in.B.eq") may be neither
// changed nor read; empty when it is free.
std::string lockRefusal(EditorSession& session, std::string_view function);
// Sends what the worker does not find by itself, then waits until the
// device took everything; the error when it did not.
std::string deliver(EditorSession& session, control::Delivery delivery);

}  // namespace orvane::editor::ParameterOperations
