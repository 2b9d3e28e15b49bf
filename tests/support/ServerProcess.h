#pragma once

// orvane-server run as a program by a test or benchmark: in front of a
// device link, on a free port of 127.0.0.1, with a known access code.

#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/HttpClient.h"

namespace orvane {

class ServerProcess {
 public:
  static constexpr const char* kCode = "room-4711";

  explicit ServerProcess(const std::string& link, std::vector<std::string> extra = {});

  int port() const { return port_; }
  pid_t pid() const { return process_.pid(); }
  ChildProcess& process() { return process_; }
  // A client that sends `code` with every request (none when null).
  HttpClient client(const char* code = kCode, const std::string& from = "127.0.0.1") const;
  // Waits until the server's link is open.
  bool linked() const;

 private:
  ChildProcess process_;
  int port_ = 0;
};

}  // namespace orvane
