#pragma once

// The reachability check the network link makes before it connects: does
// the device's address answer an ICMP echo? The link asks it through this
// interface so that the check can be replaced (a test forces "unavailable"
// or "no answer" without touching the machine's ICMP set-up).

#include <string>

namespace orvane {

// What a check reports: the echo time in milliseconds (0 or more), or one of
// these codes.
namespace EchoResult {
inline constexpr int NotPermitted = -2;   // this process may open no ICMP socket
inline constexpr int SocketFailed = -3;   // the ICMP socket could not be opened for another reason
inline constexpr int OptionFailed = -4;   // its time-outs could not be set
inline constexpr int SendFailed = -6;     // a request could not be sent
inline constexpr int ReceiveFailed = -7;  // receiving failed other than by a time-out
inline constexpr int NoAnswer = -8;       // no attempt was answered

// Only a check that ran and got no answer keeps the link from connecting: a
// check that could not run says nothing about the device.
inline bool stopsConnection(int result) {
  return result == NoAnswer;
}
}  // namespace EchoResult

class EchoProbe {
 public:
  virtual ~EchoProbe() = default;
  // Checks the dotted-quad `address`; blocks for at most the check's
  // attempts.
  virtual int check(const std::string& address) = 0;
};

}  // namespace orvane
