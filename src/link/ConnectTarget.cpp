#include "link/ConnectTarget.h"

#include <variant>

#include "platform/ParseNumber.h"
#include "platform/Socket.h"

namespace orvane {

namespace {

constexpr const char* kForms = "usb, net:ADDR[:PORT] or serial:PORT:ID";

std::string quotedText(const std::string& text) {
  return "'" + text + "'";
}

// "a.b.c.d" or "a.b.c.d:port" with a port 1..65535: the device's network
// module is reached by its IPv4 address only.
std::string networkRefusal(const std::string& text, const std::string& address) {
  const auto colon = address.find(':');
  const std::string host = address.substr(0, colon);
  if (host.empty()) return quotedText(text) + " gives no address: net:ADDR[:PORT]";
  in_addr parsed{};
  if (!sockets::parseIpv4(host, parsed))
    return quotedText(text) +
           " is not an IPv4 address: host names are not supported, give the device's address (net:a.b.c.d)";
  if (colon != std::string::npos && !parseNumber(address.substr(colon + 1), 1, 65535))
    return quotedText(text) + " has no port 1 to 65535 after the address";
  return {};
}

std::variant<ConnectTarget, std::string> read(const std::string& text) {
  if (text == "usb") return ConnectTarget{LinkType::Usb, {}, 0};
  if (text.starts_with("net:")) {
    const std::string address = text.substr(4);
    if (std::string refused = networkRefusal(text, address); !refused.empty()) return refused;
    return ConnectTarget{LinkType::Network, address, 0};
  }
  if (text.starts_with("serial:")) {
    const std::string rest = text.substr(7);
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0)
      return quotedText(text) + " needs the port and the device ID: serial:PORT:ID";
    const auto id = parseNumber(rest.substr(colon + 1), 1, ConnectionState::kMaxDeviceId);
    if (!id)
      return quotedText(text) + ": a device ID is a number from 1 to " +
             std::to_string(ConnectionState::kMaxDeviceId);
    return ConnectTarget{LinkType::Serial, rest.substr(0, colon), *id};
  }
  return quotedText(text) + " names no link: " + kForms;
}

}  // namespace

std::optional<ConnectTarget> ConnectTarget::parse(const std::string& text) {
  auto target = read(text);
  if (auto* named = std::get_if<ConnectTarget>(&target)) return std::move(*named);
  return std::nullopt;
}

std::string ConnectTarget::refusal(const std::string& text) {
  const auto target = read(text);
  const auto* refused = std::get_if<std::string>(&target);
  return refused ? *refused : std::string();
}

}  // namespace orvane
