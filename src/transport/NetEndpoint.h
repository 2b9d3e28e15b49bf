#pragma once

// Where the network link connects: the device's IPv4 address, typed by the
// user as a dotted quad, optionally followed by ":port" (a simulator on
// another port). Names are not looked up: the device is addressed by number.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Socket.h"

namespace orvane {

struct NetEndpoint {
  std::string host;  // the dotted quad as typed
  std::uint16_t port = 0;

  sockaddr_in socketAddress() const;
};

// Nothing when `text` is not "a.b.c.d" or "a.b.c.d:port" with a port 1..65535.
std::optional<NetEndpoint> parseNetEndpoint(std::string_view text, int defaultPort);
// The same for an address to listen on, where port 0 asks the system for a
// free port.
std::optional<NetEndpoint> parseListenEndpoint(std::string_view text, int defaultPort);

}  // namespace orvane
