#include "platform/UserFolders.h"

#include <cstdlib>

namespace orvane::UserFolders {

// The folders Windows names for the user in the environment, read as wide
// text so that a user name outside the code page still makes the right path.

namespace {

std::optional<std::filesystem::path> named(const wchar_t* variable) {
  const wchar_t* folder = ::_wgetenv(variable);
  if (folder && std::filesystem::path(folder).is_absolute()) return std::filesystem::path(folder);
  return std::nullopt;
}

}  // namespace

std::filesystem::path config() {
  return named(L"APPDATA").value_or(".");
}

std::optional<std::filesystem::path> state() {
  return named(L"LOCALAPPDATA");
}

}  // namespace orvane::UserFolders
