#pragma once

// The bounds of the server's HTTP side. A room's network may hold a
// careless or hostile client; none of them may take the server from the
// others: every connection, header, body, wait and stream is bounded.

#include <chrono>
#include <cstddef>

namespace orvane::server {

struct HttpLimits {
  using Duration = std::chrono::milliseconds;

  static constexpr std::size_t kConnections = 256;
  static constexpr std::size_t kConnectionsPerAddress = 32;
  static constexpr std::size_t kHeaderBytes = 16 * 1024;  // request line and headers
  static constexpr std::size_t kHeaderLines = 64;
  static constexpr Duration kHeaderTime = std::chrono::seconds(10);  // from the first byte
  static constexpr Duration kIdleTime = std::chrono::seconds(30);    // before a request starts
  static constexpr std::size_t kBodyBytes = 4096;
  // The body of a restore: an all-programs file, 56 KiB at most.
  static constexpr std::size_t kFileBodyBytes = 64 * 1024;
  static constexpr const char* kFileTarget = "/api/restore";
  static constexpr Duration kBodyTime = std::chrono::seconds(10);
  static constexpr Duration kWriteTime = std::chrono::seconds(10);  // one response, or one event
  static constexpr std::size_t kStreams = 24;
  static constexpr std::size_t kStreamsPerAddress = 4;
  static constexpr int kStreamSendBuffer = 64 * 1024;  // bytes the system holds for a stream reader
  static constexpr Duration kStreamQuiet = std::chrono::seconds(5);  // a comment after this long
  static constexpr std::size_t kWaitingWork = 64;                    // requests waiting for the device

  std::size_t connections = kConnections;
  std::size_t connectionsPerAddress = kConnectionsPerAddress;
  std::size_t headerBytes = kHeaderBytes;
  std::size_t headerLines = kHeaderLines;
  Duration headerTime = kHeaderTime;
  Duration idleTime = kIdleTime;
  std::size_t bodyBytes = kBodyBytes;
  std::size_t fileBodyBytes = kFileBodyBytes;
  Duration bodyTime = kBodyTime;
  Duration writeTime = kWriteTime;
  std::size_t streams = kStreams;
  std::size_t streamsPerAddress = kStreamsPerAddress;
  int streamSendBuffer = kStreamSendBuffer;
  Duration streamQuiet = kStreamQuiet;
  std::size_t waitingWork = kWaitingWork;
};

}  // namespace orvane::server
