#pragma once

// The commands of orvanectl: their table (name, arguments, help), the
// check of a command's words before any link is opened, and running a
// command — or a batch of them read line by line — on an open session.

#include <functional>
#include <istream>
#include <optional>
#include <string>

#include "cli/CommandContext.h"

namespace orvane::cli {

class CommandRunner {
 public:
  // Hands each outcome of a batch to the caller as it comes.
  using Emit = std::function<void(const Outcome& outcome)>;

  CommandRunner(CommandContext& context, std::string linkText);

  // A usage error for words that name no command, a wrong number of
  // arguments or a bad path; nothing when the command may run.
  static std::optional<Outcome> check(const Words& words);
  static std::string help();
  // The help of one command; nothing when there is no such command.
  static std::optional<std::string> help(const std::string& command);

  Outcome run(const Words& words);
  // Runs the lines of `in` (blank lines and "#" comments skipped) in order
  // with `run` — on a session, or through a server — and emits each
  // outcome; stops at the first failure unless `keepGoing`. Returns the
  // worst status with the first error.
  static Outcome batch(std::istream& in, bool keepGoing, const Emit& emit,
                       const std::function<Outcome(const Words&)>& run);

 private:
  CommandContext& context_;
  std::string linkText_;
};

}  // namespace orvane::cli
