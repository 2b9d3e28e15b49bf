#include "transport/HidBackend.h"

namespace orvane {

std::optional<std::string> HidBackend::openFirst(const HidIdentity& identity) {
  for (const HidDeviceInfo& device : enumerate()) {
    if (device.identity == identity && open(device.path)) return device.path;
  }
  return std::nullopt;
}

}  // namespace orvane
