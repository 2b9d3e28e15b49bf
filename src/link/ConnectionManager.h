#pragma once

// The one owner of the editor's link to a device: opening it, the full read
// that follows every connection, the re-read after a new device ID, the ID
// search on the RS-485 bus, and every way a link ends (the user closes it,
// the transport gives it up, the search is over or cancelled, the firmware
// is refused). All of them end in disconnect(), which also ends a search and
// resets the editor. The user interface drives it and tells the user; it
// never shows anything itself.

#include <string>

#include "link/Command.h"
#include "link/FirmwareCheck.h"
#include "link/IdSearch.h"

namespace orvane {

// What became of a request to search the bus for device IDs.
enum class SearchStart {
  Started,
  Refused,     // a search runs already, or a link is open
  PortFailed,  // the serial port could not be opened
};

// What a transport's report of a lost link means for the editor.
enum class LinkLoss {
  Stale,        // the link it names is no longer the open one: nothing to do
  SearchEnded,  // the ID search is over (ID 250 answered or timed out)
  Lost,         // the open link failed: the user must be told
};

class ConnectionManager {
 public:
  ConnectionManager(Command& command, ParameterImage& image, Notifier& notifier);
  ~ConnectionManager();
  ConnectionManager(const ConnectionManager&) = delete;
  ConnectionManager& operator=(const ConnectionManager&) = delete;

  // Opens `link` (`address`: serial port path, or network address with an
  // optional ":port"; `deviceId` for the RS-485 bus) and queues the full
  // read. False when a link is open already or the transport could not be
  // opened; then nothing is connected and nothing is queued.
  bool connect(LinkType link, const std::string& address, int deviceId);
  // Reads the connected device again after its ID was chosen anew.
  void reconnectTo(int deviceId);
  // Ends whatever is open (a link or an ID search) and resets the editor to
  // its defaults: the device keeps its settings. Every way a link ends comes
  // here.
  void disconnect();
  // Opens the serial port and probes device IDs 1..250; the search ends with
  // the link-lost message.
  SearchStart startIdSearch(const std::string& port);
  // Classifies a lost-link report of `link` (it does not end the link).
  LinkLoss classifyLoss(LinkType link) const;

  LinkType linkType() const;
  bool isConnected() const { return linkType() != LinkType::None; }
  bool idSearchRunning() const { return idSearch_.running(); }
  FirmwareVerdict checkFirmware(const ProductVariant& variant) const;

 private:
  void queueFullRead();

  Command& command_;
  ParameterImage& image_;
  Notifier& notifier_;
  IdSearch idSearch_;
};

}  // namespace orvane
