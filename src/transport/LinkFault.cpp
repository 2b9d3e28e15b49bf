#include "transport/LinkFault.h"

#include <cerrno>
#include <cstring>

namespace orvane {

namespace {

using Cause = LinkFault::Cause;

Cause networkCause(int error) {
  switch (error) {
    case ECONNREFUSED:
      return Cause::Refused;
    case EHOSTUNREACH:
    case ENETUNREACH:
    case ENETDOWN:
    case EADDRNOTAVAIL:
      return Cause::Unreachable;
    case ETIMEDOUT:
      return Cause::TimedOut;
    default:
      return Cause::Unknown;
  }
}

Cause serialCause(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return Cause::NoSuchPort;
    case EACCES:
    case EPERM:
      return Cause::NoPermission;
    case EBUSY:
    case EWOULDBLOCK:
      return Cause::PortBusy;
    case ENOTTY:
      return Cause::NotAPort;
    default:
      return Cause::Unknown;
  }
}

std::string linkName(LinkType link) {
  switch (link) {
    case LinkType::Serial:
      return "serial";
    case LinkType::Network:
      return "net";
    default:
      return "usb";
  }
}

constexpr const char* kOneLink =
    "a device serves one network link at a time, so another program (orvane-server, an editor, "
    "orvanectl) may hold it; a bridge lets in one client at a time and only the addresses its --allow names";

std::string unknownText(const LinkFault& fault) {
  std::string text = "cannot open the link " + linkName(fault.link);
  if (!fault.address.empty()) text += ":" + fault.address;
  if (fault.error != 0) text += ": " + std::string(std::strerror(fault.error));
  if (!fault.detail.empty()) text += ": " + fault.detail;
  return text;
}

}  // namespace

Cause LinkFault::causeOf(LinkType link, int error) {
  if (link == LinkType::Network) return networkCause(error);
  if (link == LinkType::Serial) return serialCause(error);
  return error == EACCES || error == EPERM ? Cause::NoUsbAccess : Cause::Unknown;
}

LinkFault LinkFault::fromError(LinkType link, std::string address, int error) {
  return LinkFault(causeOf(link, error), link, std::move(address), 0, error);
}

std::string LinkFault::text() const {
  const std::string& at = address;
  switch (cause) {
    case Cause::Refused:
      return "nothing answers at " + at +
             ": connection refused — is the device on and its network module set to this address and port?";
    case Cause::Unreachable:
      return "no route to " + at +
             ": is this computer on the device's network (same subnet, cable or Wi-Fi up), and does the "
             "device answer ping?";
    case Cause::TimedOut:
      return "no answer from " + at +
             " within the connection time: is the device on and on this network, and does it answer ping?";
    case Cause::NoEcho:
      return "the device at " + at +
             " does not answer ping: is it on, on this network, and set to this address?";
    case Cause::NotIpv4:
      return "'" + at +
             "' is not an IPv4 address: host names are not supported, give the device's address (e.g. "
             "192.168.1.100)";
    case Cause::NoSuchPort:
      return "there is no serial port " + at +
             ": check its name (ls /dev/ttyUSB* /dev/ttyS*) and that the adapter is plugged in";
    case Cause::NoPermission:
      return "no permission to open the serial port " + at +
             ": add yourself to the dialout group: sudo usermod -aG dialout $USER, then log in again";
    case Cause::PortBusy:
      return "the serial port " + at +
             " is busy: another program holds it (an editor, orvane-server, orvane-bridge or a terminal "
             "program); close that program or give it another port";
    case Cause::NotAPort:
      return at + " is not a serial port";
    case Cause::NoUsbDevice:
      return "no device found on USB: is it plugged in and switched on?";
    case Cause::NoUsbAccess:
      return "no access to the device on USB: install the package's udev rule "
             "(/usr/lib/udev/rules.d/70-orvane.rules), then unplug the device and plug it in again";
    case Cause::UsbTaken:
      return "the device on USB is taken: " + detail;
    case Cause::NoAnswer:
      return "no answer from ID " + std::to_string(deviceId) + " on the RS-485 bus at " + at +
             ": is the device on, is " + std::to_string(deviceId) +
             " its ID (an ID search lists the IDs that answer), and is the bus wired A to A, B to B?";
    case Cause::EndedAtOnce:
      return "the link to the device was lost right after it opened (" + at + "): " + kOneLink;
    case Cause::TakenOver:
      return "the link to the device was lost: " + at + " closed it — " + kOneLink;
    case Cause::NotReady:
      return "the device on the " + linkName(link) + " link" + (at.empty() ? "" : " (" + at + ")") +
             " did not pass the connection check: it may not be ready yet (it needs a few seconds after "
             "power-on), try again";
    case Cause::Unknown:
      break;
  }
  return unknownText(*this);
}

}  // namespace orvane
