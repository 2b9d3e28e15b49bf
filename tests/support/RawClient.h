#pragma once

// A plain TCP client of a server on this computer, from a chosen local
// address, to send what a browser never would and to see how the server
// takes it.

#include <chrono>
#include <string>

namespace orvane {

class RawClient {
 public:
  RawClient(int port, const char* from);
  ~RawClient();
  RawClient(RawClient&& other) noexcept;
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool connected() const { return connected_; }
  // False when not all of it could be sent (the server closed, or the
  // system's buffers are full: sending never blocks).
  bool send(const std::string& bytes);
  // What came until the server closed the connection or `timeout` passed;
  // `closed` tells which.
  std::string read(std::chrono::milliseconds timeout, bool& closed);
  // The status of the response that came within `timeout`; -1 for none.
  int status(std::chrono::milliseconds timeout = std::chrono::seconds(2));
  // Whether the server closed the connection within `timeout`.
  bool closedWithin(std::chrono::milliseconds timeout);

 private:
  int fd_ = -1;
  bool connected_ = false;
};

}  // namespace orvane
