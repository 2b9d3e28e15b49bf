#include "control/PathLocks.h"

#include "control/ParameterPath.h"
#include "model/ParameterCatalog.h"

namespace orvane::control::PathLocks {

std::optional<int> flagOf(const ParameterPath& path) {
  return flagOf(path.name());
}

std::optional<int> flagOf(std::string_view function) {
  return ParameterCatalog::lockOf(function);
}

bool isLocked(const ParameterPath& path, const LockState& locks) {
  const std::optional<int> flag = flagOf(path);
  return flag && locks.isLocked(*flag);
}

std::string refusal(const ParameterPath& path, const LockState& locks) {
  return refusal(path.name(), locks);
}

std::string refusal(std::string_view function, const LockState& locks) {
  const std::optional<int> flag = flagOf(function);
  return flag && locks.isLocked(*flag) ? std::string(function) + " is locked on the device" : std::string();
}

}  // namespace orvane::control::PathLocks
