#pragma once

// The ICMP echo check of a device's address. Up to `echoAttempts` requests
// (sequence 0, 1, ...), each waiting `echoTimeout` for its answer; a
// datagram that is not the answer costs a pause of `echoNonAnswerPause` and
// the attempt. The first answer ends the check with its round-trip time.
//
// It needs an ICMP socket: a raw one where the process may open it (root or
// CAP_NET_RAW), otherwise an unprivileged ICMP datagram socket where
// net.ipv4.ping_group_range lets the process's group open one. With neither
// the check reports NotPermitted and the link connects without it. The
// Windows build asks the system's ICMP service instead (IcmpSendEcho), which
// any user may use, with the same data, attempts and time-out; `Socket`
// does not apply there, and a service that cannot run also leaves the link
// to connect without the check.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/Timings.h"
#include "transport/EchoPacket.h"
#include "transport/EchoProbe.h"

namespace orvane {

// One ICMP socket as the attempts see it.
class EchoChannel {
 public:
  enum class Received : std::uint8_t { Datagram, TimedOut, Failed };

  virtual ~EchoChannel() = default;
  // The identifier the requests must carry and their answers echo.
  virtual std::uint16_t identifier() const = 0;
  virtual EchoDatagram form() const = 0;
  // Sends one request to the address; false on failure.
  virtual bool send(std::span<const std::uint8_t> request) = 0;
  // Receives one datagram into `buffer`, waiting at most the attempt's
  // time-out; `size` is its length.
  virtual Received receive(std::span<std::uint8_t> buffer, std::size_t& size) = 0;
};

// The attempts over an open channel: the echo time or NoAnswer, SendFailed,
// ReceiveFailed.
int runEchoAttempts(EchoChannel& channel, const Timings& timings);

class EchoCheck : public EchoProbe {
 public:
  // Which ICMP socket to use; Automatic tries raw first, then datagram.
  enum class Socket : std::uint8_t { Automatic, Raw, Datagram };

  explicit EchoCheck(const Timings& timings, Socket socket = Socket::Automatic);

  int check(const std::string& address) override;

 private:
  const Timings& timings_;
  const Socket socket_;
};

}  // namespace orvane
