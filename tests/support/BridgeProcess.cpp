#include "support/BridgeProcess.h"

namespace orvane {

namespace {

constexpr const char* kListening = "listening on 127.0.0.1:";

std::vector<std::string> arguments(const SimulatorProcess& sim, std::vector<std::string> extra) {
  extra.insert(extra.begin(), {"--serial", sim.serialPath() + ":1", "--listen", "127.0.0.1:0"});
  return extra;
}

}  // namespace

BridgeProcess::BridgeProcess(const SimulatorProcess& sim, std::vector<std::string> extra)
    : process_(ORVANE_BRIDGE_PATH, arguments(sim, std::move(extra))) {
  if (const auto line = logLine(kListening))
    port_ = std::stoi(line->substr(line->find(kListening) + std::string_view(kListening).size()));
}

std::optional<std::string> BridgeProcess::logLine(const std::string& text) {
  while (auto line = process_.readLine(std::chrono::seconds(10), ChildProcess::Stream::Err)) {
    seen_ += *line + "\n";
    if (line->find(text) != std::string::npos) return line;
  }
  return std::nullopt;
}

}  // namespace orvane
