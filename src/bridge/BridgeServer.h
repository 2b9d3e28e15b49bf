#pragma once

// The network side of the bridge: listens for editors, serves one client at
// a time and passes each request it sends to the device, and the device's
// reply back. Everything happens on one thread, waiting in poll() on the
// listening socket, the client, the device's events and the stop signal.
//
//  - A second client is let in only after the first has gone; meanwhile it
//    is refused (connected and closed at once), as is a client outside the
//    allow list, and every client while the device link is down. Refusals
//    are logged at most once per address and minute, with their count.
//  - A client that sends nothing for a minute while no request of its own
//    is waiting is dropped, so one that went quiet without closing does not
//    keep the device from everyone else.
//  - A lost device link closes the client's connection, so the editor at
//    the other end reports its lost link; the bridge opens the device link
//    again every two seconds until it succeeds.
//  - Buffers are bounded: a client's bytes are searched for frames as they
//    come (at most one frame is held while incomplete), a few requests wait
//    for the device at most, and a reply the client does not take within a
//    few seconds in all ends that client. TCP keep-alive finds a client
//    whose computer has gone.

#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "bridge/BridgeLog.h"
#include "bridge/BridgeOptions.h"
#include "bridge/DeviceRelay.h"
#include "bridge/RefusalLog.h"
#include "link/LinkRetry.h"
#include "protocol/FrameAssembler.h"
#include "transport/NetSocket.h"

namespace orvane {

class BridgeServer {
 public:
  using Clock = std::chrono::steady_clock;

  // A client that sends nothing for this long is dropped.
  static constexpr std::chrono::milliseconds kClientIdle{60000};
  // The whole of one reply must be sent to the client within this time.
  static constexpr std::chrono::milliseconds kReplySend{3000};

  struct Limits {
    std::chrono::milliseconds deviceRetry{2000};     // between attempts to open the device link
    std::chrono::milliseconds exchangeLimit{30000};  // longest wait for one reply
    std::chrono::milliseconds partialFrame{3000};    // a frame begun and not finished
    std::chrono::milliseconds replySend{kReplySend};
    std::chrono::milliseconds clientIdle{kClientIdle};
    std::chrono::milliseconds refusalWindow{RefusalLog::kWindow};  // refusals from one address share a line
    std::size_t queuedRequests = 4;                                // requests waiting for the device
  };

  BridgeServer(const BridgeOptions& options, DeviceRelay& device, BridgeLog& log, Limits limits);

  // Opens the listening socket; false (and logged) when the address cannot
  // be used.
  bool listen();
  // The port listened on (the system's choice when the options asked for 0).
  int port() const { return port_; }
  // Serves until `stop` is set.
  void run(const Event& stop);

 private:
  using Frame = DeviceRelay::Frame;

  Clock::time_point nextWake() const;
  void acceptClient();
  void readClient();
  void queue(std::vector<Frame> requests);
  void dropClient(const std::string& why);
  // A request of the client waits for the device or is with it.
  bool clientWaits() const;
  void sendNextRequest();
  void finishExchange();
  void onDeviceLost();
  void openDevice();
  void checkTimers();

  BridgeOptions options_;
  DeviceRelay& device_;
  BridgeLog& log_;
  Limits limits_;
  NetSocket listener_;
  int port_ = 0;

  NetSocket client_;
  std::string clientName_;
  long clientNumber_ = 0;  // counts the clients let in
  long exchangeFor_ = 0;   // the client whose request is with the device
  FrameAssembler assembler_;
  Clock::time_point partialSince_{};
  Clock::time_point lastHeard_{};  // the client's last bytes, or the last reply it took
  std::deque<Frame> requests_;
  bool exchanging_ = false;
  Clock::time_point exchangeDeadline_{};
  bool deviceAnswered_ = false;  // since the device link opened last
  LinkRetry deviceRetry_;        // when the device link is opened again, and which changes are logged
  RefusalLog refusals_;
};

}  // namespace orvane
