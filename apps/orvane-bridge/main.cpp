// orvane-bridge: serves a KVS7304 attached by USB or on an RS-485 bus to
// editors on other computers, over the network link's protocol, until it is
// interrupted.

#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bridge/BridgeOptions.h"
#include "bridge/BridgeServer.h"
#include "platform/StopSignals.h"

namespace {

using namespace orvane;

int serve(const BridgeOptions& options) {
  const StopSignals stop;
  BridgeLog log(stderr);
  DeviceRelay device(options.device, log);
  BridgeServer server(options, device, log, BridgeServer::Limits{});
  if (!server.listen()) return 1;
  server.run(stop.event());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const BridgeOptions::Parsed parsed = BridgeOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
  if (std::holds_alternative<BridgeOptions::Help>(parsed)) {
    std::fputs(BridgeOptions::usage().c_str(), stdout);
    return 0;
  }
  if (const auto* error = std::get_if<BridgeOptions::Error>(&parsed)) {
    std::fprintf(stderr, "orvane-bridge: %s (see orvane-bridge --help)\n", error->message.c_str());
    return 2;
  }
  return serve(std::get<BridgeOptions>(parsed));
}
