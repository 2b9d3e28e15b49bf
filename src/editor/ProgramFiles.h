#pragma once

// The program files on the PC, as every front-end handles them: a
// one-program file to and from the working state, an all-programs file to
// and from the program store, and the device's programs read for a backup.
// Each is refused while the device's lock forbids it; the image changes
// only when a file was read whole and is of the model the session serves.

#include <cstdint>
#include <filesystem>
#include <vector>

#include "editor/ProgramOperations.h"

namespace orvane::editor::ProgramFiles {

using ProgramOperations::Result;
using ProgramOperations::Until;

// The file becomes the working state and is stored as the device's working
// state (sent once a link is open); the file's name names it.
Result loadOne(EditorSession& session, const std::filesystem::path& path, Until until);
// The working state into a file, whose name then names it.
Result saveOne(EditorSession& session, const std::filesystem::path& path);
// The file becomes the program store; with a link all thirty programs are
// sent to the device.
Result loadAll(EditorSession& session, const std::filesystem::path& path, Until until);
// The same with the file's bytes, as a client of the server sends them;
// Until::Taken waits at most `wait` (by default the session's wait limit).
Result loadAll(EditorSession& session, const std::vector<std::uint8_t>& bytes, Until until,
               std::optional<EditorSession::Seconds> wait = {});
// Asks the device for all thirty programs; Until::Taken returns once they
// are in the program store, or fails after `wait` (by default the
// session's wait limit).
Result readAll(EditorSession& session, Until until, std::optional<EditorSession::Seconds> wait = {});
// The program store as the bytes of an all-programs file.
std::vector<std::uint8_t> allPrograms(EditorSession& session);
// The program store into a file.
Result saveAll(EditorSession& session, const std::filesystem::path& path);

}  // namespace orvane::editor::ProgramFiles
