#pragma once

// orvane-bridge run as a separate program for tests and benchmarks, in
// front of device 1 of a simulator's RS-485 bus, listening on a free port of
// 127.0.0.1. Its log is read line by line.

#include <optional>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/SimulatorProcess.h"

namespace orvane {

class BridgeProcess {
 public:
  explicit BridgeProcess(const SimulatorProcess& sim, std::vector<std::string> extra = {});

  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  // "net:127.0.0.1:PORT", as the editor's tools take it.
  std::string link() const { return "net:127.0.0.1:" + std::to_string(port_); }

  // The next line of the log that contains `text`; every line read so far
  // is kept in seen().
  std::optional<std::string> logLine(const std::string& text);
  const std::string& seen() const { return seen_; }

 private:
  ChildProcess process_;
  std::string seen_;
  int port_ = 0;
};

}  // namespace orvane
