#pragma once

// The device side of the bridge: the USB or serial link to the device,
// driven one request at a time without the editor's worker. A request comes
// as a network client wrote it; it goes to the device re-addressed for the
// device's link (link byte, device ID, checksum) with the timing and
// re-send rules of that link, and the reply goes back addressed as the
// client expects it on the network link.

#include <cstdint>
#include <memory>
#include <optional>

#include "bridge/BridgeLog.h"
#include "bridge/RelayNotifier.h"
#include "bridge/ReplyRelay.h"
#include "link/ConnectTarget.h"
#include "platform/Event.h"
#include "platform/Timings.h"
#include "protocol/LinkSlot.h"
#include "transport/PlainLinkHooks.h"
#include "transport/Transport.h"

namespace orvane {

class DeviceRelay {
 public:
  using Frame = ReplyRelay::Frame;

  DeviceRelay(const ConnectTarget& device, BridgeLog& log, const Timings& timings = {});
  ~DeviceRelay();
  DeviceRelay(const DeviceRelay&) = delete;
  DeviceRelay& operator=(const DeviceRelay&) = delete;

  // Opens the device link; false when the port or the USB device cannot be
  // opened.
  bool open();
  // Why the last open() failed.
  LinkFault openFailure() const;
  // What a loss of the link before the device answered anything means: on
  // the RS-485 bus, that no device answers to the ID.
  LinkFault silence() const;
  // Closes the link; a request in flight is given up.
  void close();
  bool isOpen() const { return open_; }
  // "USB", or "serial PORT, ID N".
  std::string description() const;

  // Hands `request`, a sound frame of the network link, to the device.
  void send(const Frame& request);
  // Set when the request's exchange is over: the reply came, or the link
  // was lost.
  const Event& finished() const { return replyEvent_; }
  // Set when the link gave up; cleared by the next open().
  const Event& lost() { return notifier_.lost(); }
  // The reply to the last request, addressed as the request was; nothing
  // when none came.
  std::optional<Frame> takeReply();

 private:
  ConnectTarget device_;
  Timings timings_;
  PlainLinkHooks hooks_;
  RelayNotifier notifier_;
  ReplyRelay relay_;
  LinkSlot slot_;
  Event replyEvent_;
  std::unique_ptr<Transport> transport_;
  bool open_ = false;
  std::uint8_t clientLink_ = 0;
  std::uint8_t clientId_ = 0;
};

}  // namespace orvane
