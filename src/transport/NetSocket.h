#pragma once

// An owned socket, closed when its owner lets it go.

#include <utility>

#include "platform/Socket.h"
#include "transport/NetEndpoint.h"

namespace orvane {

class NetSocket {
 public:
  NetSocket() = default;
  explicit NetSocket(NativeSocket fd) : fd_(fd) {}
  ~NetSocket() { reset(); }
  NetSocket(NetSocket&& other) noexcept : fd_(std::exchange(other.fd_, kNoSocket)) {}
  NetSocket& operator=(NetSocket&& other) noexcept {
    if (this != &other) reset(std::exchange(other.fd_, kNoSocket));
    return *this;
  }
  NetSocket(const NetSocket&) = delete;
  NetSocket& operator=(const NetSocket&) = delete;

  // A TCP socket listening on `endpoint`, with address reuse so that a
  // server started again takes its port at once; a port 0 in `endpoint` is
  // replaced by the one the system chose, so listening again takes the same
  // port. Invalid, with errno telling why, when a step fails.
  static NetSocket listening(NetEndpoint& endpoint, int backlog);

  NativeSocket fd() const { return fd_; }
  bool valid() const { return fd_ != kNoSocket; }
  // Closes the socket held and takes `fd` instead.
  void reset(NativeSocket fd = kNoSocket);
  // Sets up a connected TCP socket for frames, one at a time: each goes out
  // at once (no delay waiting for an acknowledgement), and the send buffer
  // holds a few frames only, so that a peer that takes no bytes leaves a
  // writer waiting within a few frames rather than after megabytes of them.
  // Best effort: a connection without these still carries frames.
  void setFrameOptions() const;

 private:
  NativeSocket fd_ = kNoSocket;
};

}  // namespace orvane
