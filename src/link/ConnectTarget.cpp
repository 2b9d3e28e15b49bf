#include "link/ConnectTarget.h"

#include "platform/ParseNumber.h"

namespace orvane {

namespace {

// "a.b.c.d" or "a.b.c.d:port" with a port 1..65535.
bool validNetworkAddress(const std::string& text) {
  if (text.empty()) return false;
  const auto colon = text.find(':');
  if (colon == std::string::npos) return true;
  return colon > 0 && parseNumber(text.substr(colon + 1), 1, 65535).has_value();
}

}  // namespace

std::optional<ConnectTarget> ConnectTarget::parse(const std::string& text) {
  if (text == "usb") return ConnectTarget{LinkType::Usb, {}, 0};
  if (text.starts_with("net:")) {
    const std::string address = text.substr(4);
    if (!validNetworkAddress(address)) return std::nullopt;
    return ConnectTarget{LinkType::Network, address, 0};
  }
  if (text.starts_with("serial:")) {
    const std::string rest = text.substr(7);
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0) return std::nullopt;
    const auto id = parseNumber(rest.substr(colon + 1), 1, ConnectionState::kMaxDeviceId);
    if (!id) return std::nullopt;
    return ConnectTarget{LinkType::Serial, rest.substr(0, colon), *id};
  }
  return std::nullopt;
}

}  // namespace orvane
