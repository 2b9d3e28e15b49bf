#include "transport/NetEndpoint.h"

#include <charconv>

namespace orvane {

namespace {

constexpr int kLowestPort = 1;
constexpr int kHighestPort = 65535;

bool isPort(int port) {
  return port >= kLowestPort && port <= kHighestPort;
}

}  // namespace

sockaddr_in NetEndpoint::socketAddress() const {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  sockets::parseIpv4(host, address.sin_addr);
  return address;
}

std::optional<NetEndpoint> parseNetEndpoint(std::string_view text, int defaultPort) {
  const std::size_t colon = text.find(':');
  const std::string host(text.substr(0, colon));
  in_addr parsed{};
  if (!sockets::parseIpv4(host, parsed)) return std::nullopt;
  int port = defaultPort;
  if (colon != std::string_view::npos) {
    const std::string_view digits = text.substr(colon + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  }
  if (!isPort(port)) return std::nullopt;
  return NetEndpoint{host, static_cast<std::uint16_t>(port)};
}

std::optional<NetEndpoint> parseListenEndpoint(std::string_view text, int defaultPort) {
  const bool anyPort = text.ends_with(":0");
  auto endpoint = parseNetEndpoint(anyPort ? text.substr(0, text.size() - 2) : text, defaultPort);
  if (endpoint && anyPort) endpoint->port = 0;
  return endpoint;
}

}  // namespace orvane
