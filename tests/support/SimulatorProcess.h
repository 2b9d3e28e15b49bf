#pragma once

// orvane-sim run as a separate program for tests and benchmarks: serving
// the network link on a free port of 127.0.0.1, and with `--serial` also an
// RS-485 bus on a pseudo-terminal. It simulates the build's default model,
// as the editor's programs serve it, unless the options name another
// (--model) or another firmware.

#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace orvane {

class SimulatorProcess {
 public:
  explicit SimulatorProcess(const std::vector<std::string>& options = {});

  bool started() const { return port_ > 0 && (!serial_ || !serialPath_.empty()); }
  int port() const { return port_; }
  // "127.0.0.1:PORT"
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& serialPath() const { return serialPath_; }
  void stop() { process_.terminate(); }
  // Stops it as Ctrl+C does (it saves its state) and takes what it printed
  // after starting, such as the line of reply counts.
  ChildProcess::Result finish();
  // Ends it at once, as a crash or a power cut would.
  void kill() { process_.kill(); }

 private:
  static std::vector<std::string> arguments(std::vector<std::string> options);

  ChildProcess process_;
  bool serial_;
  int port_ = 0;
  std::string serialPath_;
};

}  // namespace orvane
