#pragma once

// Opening and closing the editor's one link to a device: the full read that
// follows every connection, the firmware check, the ID search on the RS-485
// bus and the reset of the editor when a link closes or is lost. The user
// interface drives it and tells the user; it never shows anything itself.

#include <string>

#include "link/Command.h"
#include "link/FirmwareCheck.h"

namespace orvane {

class ConnectionManager {
 public:
  ConnectionManager(Command& command, ParameterImage& image, Notifier& notifier);

  // Opens `link` (`address`: serial port path, or network address with an
  // optional ":port"; `deviceId` for the RS-485 bus) and queues the full
  // read. False when the transport could not be opened; then nothing is
  // connected and nothing is queued.
  bool connect(LinkType link, const std::string& address, int deviceId);
  // Reads the connected device again after its ID was chosen anew.
  void reconnectTo(int deviceId);
  // Closes whatever link is open and resets the editor to its defaults: the
  // device keeps its settings. Also what a lost link ends in.
  void disconnect();
  // Opens the serial port and probes device IDs 1..250; the search ends with
  // the link-lost message. False when the port could not be opened.
  bool startIdSearch(const std::string& port);

  LinkType linkType() const;
  bool isConnected() const { return linkType() != LinkType::None; }
  bool idSearchRunning() const;
  void endIdSearch();
  FirmwareVerdict checkFirmware(const ProductVariant& variant) const;

 private:
  void queueFullRead();

  Command& command_;
  ParameterImage& image_;
  Notifier& notifier_;
};

}  // namespace orvane
