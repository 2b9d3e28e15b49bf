#include "sim/SimBus.h"

#include <system_error>

namespace orvane {

std::string_view SimBus::unavailable() {
  return "--serial is not available in the Windows build, which has no pseudo-terminals: orvane-sim serves "
         "the network link only";
}

std::unique_ptr<SimBus> SimBus::start(std::span<DeviceResponder* const>, std::chrono::milliseconds) {
  throw std::system_error(std::make_error_code(std::errc::not_supported), std::string(unavailable()));
}

}  // namespace orvane
