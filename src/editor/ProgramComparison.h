#pragma once

// The sides a comparison of programs looks at, as every front-end gets
// them: a one-program file, the device's working state, or a program
// stored in the device, read on request; and taking one side's values of
// chosen parameters into the working state, as one step of the history.

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>

#include "control/ParameterComparison.h"
#include "editor/EditorSession.h"

namespace orvane::editor::ProgramComparison {

// A side's parameters, in an image of their own.
using Snapshot = std::unique_ptr<ParameterImage>;
// A side, or why it could not be had.
using Read = std::variant<Snapshot, std::string>;

// A one-program file of `variant`'s model.
Read programFile(const ProductVariant& variant, const std::filesystem::path& path);
// The working state as the session's image holds it now.
Snapshot workingState(EditorSession& session);
// Stored program `program` (1..30), read from the device now: the call
// returns once the device sent it, or fails after `wait` (by default the
// session's wait limit). It lands in the program store as well.
Read storedProgram(EditorSession& session, int program, std::optional<EditorSession::Seconds> wait = {});
// Stored program `program` as the program store holds it.
Snapshot fromProgramStore(const ParameterImage& image, int program);

// Writes `from`'s values of `paths` into the working state, as one step of
// the history; the worker sends the changed rows. Empty on success, else
// one line per value that could not be taken, with why (a function locked
// on the device is never changed).
std::string take(EditorSession& session, const ParameterImage& from,
                 std::span<const control::ParameterPath> paths);

}  // namespace orvane::editor::ProgramComparison
