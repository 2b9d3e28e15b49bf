#include "link/ConnectTarget.h"

#include <charconv>

namespace orvane {

namespace {

std::optional<int> number(const std::string& text, int lowest, int highest) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < lowest || value > highest)
    return std::nullopt;
  return value;
}

// "a.b.c.d" or "a.b.c.d:port" with a port 1..65535.
bool validNetworkAddress(const std::string& text) {
  if (text.empty()) return false;
  const auto colon = text.find(':');
  if (colon == std::string::npos) return true;
  return colon > 0 && number(text.substr(colon + 1), 1, 65535).has_value();
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
    const auto id = number(rest.substr(colon + 1), 1, ConnectionState::kMaxDeviceId);
    if (!id) return std::nullopt;
    return ConnectTarget{LinkType::Serial, rest.substr(0, colon), *id};
  }
  return std::nullopt;
}

}  // namespace orvane
