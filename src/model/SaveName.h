#pragma once

// The editor's rule for the name of a file it writes: a name that does not
// hold the file kind's extension gets it appended. Hall becomes
// Hall.dia1j; Hall.dia1j and Hall.dia1j.bak stay as they are. Only the
// file's own name counts, not its folders.

#include <filesystem>
#include <string_view>

namespace orvane::SaveName {

// `path` with `extension` (".dia1j", ".xlsx") appended unless its file name
// holds it somewhere; an empty path stays empty.
std::filesystem::path withExtension(const std::filesystem::path& path, std::string_view extension);

}  // namespace orvane::SaveName
