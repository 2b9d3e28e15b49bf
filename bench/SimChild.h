#pragma once

// The simulator program as a child process serving the network link on
// 127.0.0.1, so a benchmark measures the editor's side of the link alone:
// the device's CPU time is another process's.

#include <sys/types.h>

#include <string>
#include <vector>

namespace orvane {

class SimChild {
 public:
  // Starts orvane-sim on a free port of 127.0.0.1 with `options` besides.
  explicit SimChild(const std::vector<std::string>& options = {});
  ~SimChild();
  SimChild(const SimChild&) = delete;
  SimChild& operator=(const SimChild&) = delete;

  bool started() const { return port_ > 0; }
  int port() const { return port_; }
  // The editor's address of the simulated device.
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace orvane
