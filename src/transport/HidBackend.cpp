#include "transport/HidBackend.h"

#include <algorithm>

namespace orvane {

std::optional<std::string> HidBackend::openFirst(const HidIdentity& identity) {
  for (const HidDeviceInfo& device : enumerate()) {
    if (device.identity == identity && open(device.path)) return device.path;
  }
  return std::nullopt;
}

HidStatus HidBackend::failureKind(const std::vector<HidDeviceInfo>& present, const std::string& path) {
  const bool there =
      std::any_of(present.begin(), present.end(), [&](const HidDeviceInfo& d) { return d.path == path; });
  return there ? HidStatus::Failed : HidStatus::Gone;
}

}  // namespace orvane
