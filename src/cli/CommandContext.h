#pragma once

// What every orvanectl command works with: the open session, the options
// of the run, and a way to learn that the user interrupted it.

#include <functional>
#include <string>
#include <vector>

#include "cli/Outcome.h"
#include "editor/EditorSession.h"

namespace orvane::cli {

using editor::EditorSession;

struct CommandContext {
  EditorSession& session;
  bool followLinks = true;
  // Writes a line at once (the watch of the meters); other output comes
  // back in the Outcome.
  std::function<void(const std::string& line)> print;
  std::function<bool()> interrupted;
};

using Words = std::vector<std::string>;

}  // namespace orvane::cli
