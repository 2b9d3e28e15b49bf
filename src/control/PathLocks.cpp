#include "control/PathLocks.h"

#include "control/ParameterPath.h"
#include "model/ParameterCatalog.h"

namespace orvane::control::PathLocks {

namespace {

bool locked(std::string_view function, const LockState& locks) {
  const std::optional<int> flag = ParameterCatalog::lockOf(function);
  return flag && locks.isLocked(*flag);
}

}  // namespace

bool isLocked(const ParameterPath& path, const LockState& locks) {
  return locked(path.name(), locks);
}

std::string refusal(std::string_view function, const LockState& locks) {
  return locked(function, locks) ? std::string(function) + " is locked on the device" : std::string();
}

}  // namespace orvane::control::PathLocks
