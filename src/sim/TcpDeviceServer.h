#pragma once

// The simulated device's network module: a TCP server that answers the
// editor's frames through a DeviceResponder, as the device does on port
// 8899.
//
// Requests are assembled from the byte stream whatever its segmentation;
// bytes that cannot begin a frame (the zero the editor sends after each
// frame, line noise) are skipped, and a frame that fails its check is
// skipped from its first byte on, so the stream finds its next frame. Each
// reply goes out in one send(). After acknowledging a network rename or a
// network factory reset the server closes the connection, as the device's
// module restarts.
//
// The module serves one connection at a time; a new connection replaces the
// one before (an editor that reconnects has given the old one up). A client
// that takes no bytes of a reply within the send limit loses its
// connection, so it can hold up neither the server nor its stop().
//
// Faults for tests and demonstrations: delayed replies, replies written in
// pieces, connections closed after a number of replies, refused connections
// and a connection reset at once. The responder's own fault plan (corrupt,
// dropped replies, a failing connection check) applies as well.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/Event.h"
#include "protocol/FrameAssembler.h"
#include "sim/DeviceResponder.h"
#include "transport/NetEndpoint.h"
#include "transport/NetSocket.h"

namespace orvane {

struct TcpServerFaults {
  std::chrono::milliseconds replyDelay{0};  // every reply waits this long before it goes out
  int closeAfterReplies = 0;                // a connection is closed after this many replies; 0 = never
  int replyPieces = 1;                      // every reply is written in this many parts,
  std::chrono::milliseconds pieceGap{10};   // this far apart

  friend bool operator==(const TcpServerFaults&, const TcpServerFaults&) = default;
};

class TcpDeviceServer {
 public:
  // Sees every chunk of bytes received, on the server's thread.
  using StreamObserver = std::function<void(std::span<const std::uint8_t>)>;

  static constexpr std::chrono::milliseconds kSendLimit{3000};

  explicit TcpDeviceServer(DeviceResponder& device, std::chrono::milliseconds sendLimit = kSendLimit);
  ~TcpDeviceServer();
  TcpDeviceServer(const TcpDeviceServer&) = delete;
  TcpDeviceServer& operator=(const TcpDeviceServer&) = delete;

  // Listens on the dotted-quad `address` and `port` (0: any free port) and
  // starts serving. False when the address is malformed or taken, or the
  // server runs already.
  bool start(const std::string& address, int port);
  // Closes every connection and the listening socket; returns once the
  // server's thread has ended.
  void stop();
  // The port listened on, valid after a successful start.
  int port() const { return port_.load(); }

  void setFaults(const TcpServerFaults& faults);
  TcpServerFaults faults() const;
  // Stops listening, so that connection attempts are refused, or listens
  // again on the same port. Returns once in effect; false when the server
  // does not run or cannot listen again.
  bool setRefusing(bool refuse);
  // Resets the current connection at once. Returns once done.
  void dropConnection();

  int connectionsAccepted() const { return accepted_.load(); }
  void setStreamObserver(StreamObserver observer);

 private:
  struct Connection {
    NetSocket socket;
    FrameAssembler assembler;  // received bytes not yet part of an answered frame
    int replies = 0;
  };
  struct Control {
    bool refuse = false;
    bool drop = false;
  };

  void run();
  void acceptConnection(Connection& connection);
  void readConnection(Connection& connection);
  // Answers every complete request in the connection's bytes.
  void answerRequests(Connection& connection, const std::vector<FrameAssembler::Frame>& requests);
  bool sendReply(NativeSocket fd, std::span<const std::uint8_t> reply, const TcpServerFaults& faults);
  void applyControl(Connection& connection);
  bool listen();
  bool requestControl(const std::function<void(Control&)>& change);

  DeviceResponder& device_;
  const std::chrono::milliseconds sendLimit_;
  NetEndpoint endpoint_;
  std::atomic<int> port_{0};
  std::atomic<int> accepted_{0};
  NetSocket listener_;  // the server's thread alone uses it once started

  Event stop_;
  Event controlEvent_;
  mutable std::mutex mutex_;  // guards the members below
  std::condition_variable controlApplied_;
  TcpServerFaults faults_;
  StreamObserver observer_;
  Control wanted_;
  long requested_ = 0;  // control changes asked for
  long applied_ = 0;    // control changes carried out
  bool listening_ = false;
  bool running_ = false;

  std::mutex lifecycleMutex_;
  // A plain thread, not a LinkThread: the server is a peer that serves from
  // start() to stop() and is never parked.
  std::thread thread_;
};

}  // namespace orvane
