#pragma once

// The command line of orvane-bridge: which device link to serve, where to
// listen and whom to let in.

#include <string>
#include <variant>
#include <vector>

#include "bridge/AllowList.h"
#include "link/ConnectTarget.h"
#include "transport/NetEndpoint.h"

namespace orvane {

struct BridgeOptions {
  static constexpr int kDefaultPort = 8899;

  ConnectTarget device;  // USB, or a serial port with the device's ID
  NetEndpoint listen{"127.0.0.1", kDefaultPort};
  AllowList allow;

  struct Help {};
  struct Error {
    std::string message;  // one line naming the bad part
  };
  using Parsed = std::variant<BridgeOptions, Help, Error>;

  static Parsed parse(const std::vector<std::string>& args);
  static std::string usage();
};

}  // namespace orvane
