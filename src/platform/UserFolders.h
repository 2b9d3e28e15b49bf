#pragma once

// The folders of the user running a program, where the programs keep what
// belongs to that user rather than to a device or a file: each program
// adds a folder "orvane" of its own.

#include <filesystem>
#include <optional>

namespace orvane::UserFolders {

// Settings and secrets (the server's access code): $XDG_CONFIG_HOME, else
// ~/.config (./.config without a home); in the Windows build the user's
// roaming application data folder (%APPDATA%).
std::filesystem::path config();
// What a program remembers between its runs (the master levels orvanectl
// brings back): $XDG_STATE_HOME when it is an absolute path, else
// ~/.local/state; in the Windows build the user's local application data
// folder (%LOCALAPPDATA%). Nothing when the user has none.
std::optional<std::filesystem::path> state();

}  // namespace orvane::UserFolders
