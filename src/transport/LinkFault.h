#pragma once

// Why a link to the device did not open or ended, and the one line that
// tells its user the cause and what to do about it. Every program says the
// same: the editor's session, orvanectl, orvane-server (through the
// session's link events) and orvane-bridge (in its log). The transports
// name the cause of a failed open, mostly from the system's error number;
// the session names the cause of a link that ended before it was of use.

#include <string>
#include <utility>

#include "model/ConnectionState.h"

namespace orvane {

struct LinkFault {
  enum class Cause : std::uint8_t {
    Unknown,       // nothing more is known than that it failed
    Refused,       // nothing listens at the network address
    Unreachable,   // no route to the network address
    TimedOut,      // the network address did not answer the connection
    NoEcho,        // the network address does not answer ping
    NotIpv4,       // the network address is not an IPv4 number
    NoSuchPort,    // the serial port does not exist
    NoPermission,  // the serial port may not be opened by this user
    PortBusy,      // another program holds the serial port
    NotAPort,      // the path is no serial port (not a terminal)
    NoUsbDevice,   // no device on USB
    NoUsbAccess,   // the device is on USB, its device file cannot be opened
    UsbTaken,      // another program of this user holds the USB device
    NoAnswer,      // the device with this ID on the RS-485 bus does not answer
    EndedAtOnce,   // the network link was lost right after it opened
    TakenOver,     // the device closed the network link (another program took it)
    NotReady,      // the device answered the connection check "not ready", or not at all
  };

  LinkFault() = default;
  LinkFault(Cause cause, LinkType link, std::string address = {}, int deviceId = 0, int error = 0)
      : cause(cause), link(link), address(std::move(address)), deviceId(deviceId), error(error) {}

  Cause cause = Cause::Unknown;
  LinkType link = LinkType::None;
  std::string address;  // the serial port's path or the network address, as given
  int deviceId = 0;     // on the RS-485 bus
  int error = 0;        // the system's error number that told the cause, if any
  std::string detail;   // what the transport said of an unknown cause (UsbTaken: why)

  // The cause of a failed open of `link` told by the system's error number.
  static Cause causeOf(LinkType link, int error);
  // A fault of `link` at `address` whose cause is `error`'s.
  static LinkFault fromError(LinkType link, std::string address, int error);

  bool known() const { return cause != Cause::Unknown; }
  // One line: what happened, then what to do.
  std::string text() const;
};

}  // namespace orvane
