#include "support/SimulatorProcess.h"

#include <algorithm>

namespace orvane {

std::vector<std::string> SimulatorProcess::arguments(std::vector<std::string> options) {
  options.insert(options.end(), {"--listen", "127.0.0.1:0"});
  return options;
}

SimulatorProcess::SimulatorProcess(const std::vector<std::string>& options)
    : process_(ORVANE_SIM_PATH, arguments(options)),
      serial_(std::ranges::find(options, "--serial") != options.end()) {
  // It names what it serves, one line each: "orvane-sim: network 127.0.0.1:PORT",
  // "orvane-sim: serial PATH".
  while (!started()) {
    const auto line = process_.readLine(std::chrono::seconds(5));
    if (!line) return;
    if (line->rfind("orvane-sim: network ", 0) == 0) port_ = std::stoi(line->substr(line->rfind(':') + 1));
    if (line->rfind("orvane-sim: serial ", 0) == 0) serialPath_ = line->substr(line->rfind(' ') + 1);
  }
}

ChildProcess::Result SimulatorProcess::finish() {
  process_.interrupt();
  return process_.finish(std::chrono::seconds(30));
}

}  // namespace orvane
