#pragma once

// A link that carries frames to a device: serial/RS-485, USB HID or the
// network. Each transport owns its thread, a LinkThread that runs while the
// link is open. The worker puts a frame into the transmit frame of the
// link's slot and calls signalWrite(); the transport writes it, feeds the
// reply bytes to the slot's parser on its own thread and sets the reply
// event when the reply was taken or given up. A transport that gives the
// link up posts the link-lost message; it never shows anything.

#include <string>

#include "transport/LinkFault.h"

namespace orvane {

class Transport {
 public:
  virtual ~Transport() = default;

  // Opens the link; `address` names the port or host where the link needs
  // one. False when the link could not be opened.
  virtual bool open(const std::string& address) = 0;
  // Why the last open() failed, as far as this transport can tell; call it
  // on the thread that called open().
  virtual LinkFault openFailure() const { return {}; }
  // Whether the link given up last ended because the device closed it,
  // rather than fell silent or went away. Any thread may ask.
  virtual bool closedByPeer() const { return false; }
  virtual void close() = 0;
  // The transmit frame of the link's slot is ready: write it.
  virtual void signalWrite() = 0;
  // Ends the transport's thread for good.
  virtual void shutdown() = 0;
};

}  // namespace orvane
