#pragma once

// The network link: frames over a TCP connection to the device's network or
// WiFi module (port 8899 unless the address names another).
//
// Before connecting, the device's address must answer an ICMP echo, so an
// absent device is reported at once instead of after a connect time-out; a
// check that cannot run (no ICMP socket allowed) does not stop the link.
//
// One link thread carries the exchanges. Its two events, lowest index
// first, after a park or stop request: send (the worker's frame is ready),
// receive (a frame went out, its reply is awaited). A frame goes out as its wire bytes plus one
// zero byte, in one send(). Replies are read in chunks of up to 250 bytes
// and fed to the link slot's parser until a frame completes; 3 s without
// reply data, a reply still incomplete at its deadline, or a lost
// connection, is a failure: the link reconnects and sends the frame again,
// twice at most per frame, and gives up on the third failure. A reply that
// fails its check is asked for again without limit, as long as the device
// keeps answering. While the connection check of a new link is pending, a
// reply that fails it counts as a failure, so a device that never answers
// the check correctly loses the link after three tries. A frame that the
// connection takes no room for within the send deadline gives the link up
// at once: the device is not reading.
//
// Every wait of the thread has a deadline and also ends when the link is
// being closed or shut down, so a device that never reads, floods the
// connection or streams nonsense cannot hold up closing the link.
//
// Giving the link up posts LinkLost (wParam 3) and leaves the connection
// alone until close(); frames signalled meanwhile are not sent. lParam is 0,
// except for a network rename or factory reset that could not be sent at
// all: then it is the frame's reply kind (2 or 3), and the main window says
// that the operation failed.
//
// A network rename or factory reset makes the device's module restart and
// drop the connection, so the link is given up right after such a request
// has been sent (lParam 0). Its acknowledgement may still arrive before the
// link is closed; it then posts NetworkOperationDone after LinkLost.

#include <array>
#include <atomic>
#include <memory>
#include <span>

#include "platform/Event.h"
#include "platform/LinkThread.h"
#include "protocol/SendData.h"
#include "transport/EchoProbe.h"
#include "transport/LinkContext.h"
#include "transport/NetEndpoint.h"
#include "transport/NetSocket.h"
#include "transport/Transport.h"

namespace orvane {

class NetPort : public Transport {
 public:
  static constexpr std::size_t kReceiveChunk = 250;

  // The thread starts parked. Without an `echo` probe the real ICMP check
  // is used.
  explicit NetPort(LinkContext context, std::unique_ptr<EchoProbe> echo = nullptr);
  ~NetPort() override;
  NetPort(const NetPort&) = delete;
  NetPort& operator=(const NetPort&) = delete;

  // Echo check, then TCP connect; resumes the thread. False (the link stays
  // closed) for an address that is no dotted quad, an echo without answer,
  // a refused or timed-out connect, or a socket that cannot be set up.
  bool open(const std::string& address) override;
  LinkFault openFailure() const override { return failure_; }
  bool closedByPeer() const override { return closedByPeer_; }
  // Parks the thread (an exchange in progress is abandoned at once), which
  // closes the connection. Returns within the park wait of the timings even
  // when the thread is held up; it then lets the link go as soon as it can,
  // and the port opens again only after that. The caller then clears the
  // link's slot.
  void close() override;
  void signalWrite() override;
  void shutdown() override;

  // The result of the last echo check (milliseconds or an EchoResult code).
  int lastEchoResult() const { return lastEcho_.load(); }

 private:
  enum class Attempt : std::uint8_t { Done, Failed, Interrupted };
  enum class SendOutcome : std::uint8_t { Sent, ConnectionLost, OtherError, TimedOut, Interrupted };

  // The frame in flight, the thread's own.
  struct Exchange {
    int reconnects = 0;  // failures it has cost, each answered by a reconnect
  };

  // Held on the thread's stack, so that no frame costs an allocation.
  struct Outgoing {
    std::array<std::uint8_t, kMaxFrameSize + 1> bytes;  // wire bytes and the trailing zero
    std::size_t size = 0;
    ReplyKind replyKind = ReplyKind::None;

    std::span<const std::uint8_t> wire() const { return std::span(bytes).first(size); }
  };

  // The thread's body: serves the events until parked or stopped, then
  // lets the link go.
  void serve();
  void letGo();

  Attempt connect();
  Attempt connectTcp(NetSocket& socket);
  // Replaces the connection inside an exchange.
  Attempt reconnect();

  void sendFrame();
  SendOutcome sendBytes(std::span<const std::uint8_t> bytes);
  void receiveReply();
  // `peerClosed`: the peer closed the connection (rather than fell silent).
  void receiveFailed(bool peerClosed = false);
  std::optional<Outgoing> takeOutgoing();
  int countReconnect();
  void discardStaleBytes();
  void linkLost(std::intptr_t lParam);

  LinkContext ctx_;
  std::unique_ptr<EchoProbe> echo_;

  Event send_;
  Event receive_;

  // Used by the thread while it runs (it closes the connection before it
  // parks), by open while it is parked.
  NetEndpoint endpoint_;
  NetSocket socket_;
  // The link was given up; nothing more is sent until the next open.
  std::atomic<bool> givenUp_{true};
  std::atomic<int> lastEcho_{0};
  // The last failure of the link was the device closing the connection.
  std::atomic<bool> closedByPeer_{false};
  // The system's error of the last connect that failed, 0 for an echo check
  // without answer; open() reads it while the thread is parked.
  int connectError_ = 0;
  LinkFault failure_;  // open()'s alone
  Exchange exchange_;  // the thread's; reset by open() while it is parked
  // The thread's: the last reply's read left nothing waiting, and the next
  // frame was carried on straight after it.
  bool replyDrained_ = false;
  // signalWrite() handed over a new frame: its exchange starts afresh.
  std::atomic<bool> newFrame_{false};

  std::atomic<bool> shutDown_{false};
  LinkThread thread_;
};

}  // namespace orvane
