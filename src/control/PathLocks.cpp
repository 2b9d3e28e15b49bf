#include "control/PathLocks.h"

#include "control/ParameterPath.h"
#include "model/ParameterCatalog.h"

namespace orvane::control::PathLocks {

bool isLocked(const ParameterPath& path, const LockState& locks) {
  return locks.isLocked(path.lock());
}

std::string refusal(std::string_view function, const LockState& locks) {
  const std::optional<int> flag = ParameterCatalog::lockOf(function);
  return flag && locks.isLocked(*flag) ? std::string(function) + " is locked on the device" : std::string();
}

}  // namespace orvane::control::PathLocks
