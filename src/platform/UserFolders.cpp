#include "platform/UserFolders.h"

#include <cstdlib>

namespace orvane::UserFolders {

std::filesystem::path config() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return config;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : ".") / ".config";
}

std::optional<std::filesystem::path> state() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && std::filesystem::path(state).is_absolute()) return state;
  const char* home = std::getenv("HOME");
  if (home && *home) return std::filesystem::path(home) / ".local" / "state";
  return std::nullopt;
}

}  // namespace orvane::UserFolders
