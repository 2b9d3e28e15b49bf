#pragma once

// The command line of the device simulator.

#include <optional>
#include <string>
#include <vector>

#include "model/ProductVariant.h"
#include "sim/FaultPlan.h"

namespace orvane {

struct SimOptions {
  std::string listenAddress = "127.0.0.1";
  int listenPort = 8899;
  bool serial = false;                                    // also serve an RS-485 bus on a pseudo-terminal
  std::vector<int> deviceIds;                             // the devices on the bus; empty = device 1
  ProductVariant model = ProductVariant::builtDefault();  // the model simulated
  std::string firmware;   // the version the device reports; empty = the model's factory version
  std::string stateFile;  // loaded at start, saved on change and at exit
  bool movingLevels = false;
  FaultPlan faults;
  int replyDelayMs = 0;
  int closeAfterFrames = 0;  // TCP: close the connection after this many frames
  bool help = false;

  // The version text the devices report: --firmware, else that of a new
  // device of the model.
  std::string firmwareText() const;

  // Reads the arguments after the program name; an error text when they are
  // not understood.
  static std::optional<std::string> parse(const std::vector<std::string>& args, SimOptions& options);
  static std::string usage();
};

}  // namespace orvane
