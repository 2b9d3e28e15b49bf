#pragma once

// A file name the editor holds as a QString, as the core's path and back.
// The conversion goes through UTF-16, so a folder or file named in Chinese
// reaches the right file on every system: a std::string would be read in
// the system's ANSI code page on Windows, not as UTF-8.

#include <QString>
#include <filesystem>

namespace orvane::ui {

inline std::filesystem::path fileSystemPath(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

inline QString fromFileSystemPath(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}

}  // namespace orvane::ui
