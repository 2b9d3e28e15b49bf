#pragma once

// A link to a simulated device inside the same process, for tests of the
// link machinery without a port, a socket or a HID device. It behaves like
// the real transports: its own link thread, running while the link is open,
// takes the frame in flight from the link's slot when signalled, hands it to the device's responder, feeds
// the reply to the slot's parser and sets the reply event. A missing or bad reply makes it send the frame
// again; after the third failed attempt it retires the frame and reports the link lost.

#include <optional>
#include <vector>

#include "model/ConnectionState.h"
#include "platform/Event.h"
#include "platform/LinkThread.h"
#include "protocol/SendData.h"
#include "sim/DeviceResponder.h"
#include "transport/LinkContext.h"
#include "transport/Transport.h"

namespace orvane {

class InProcessTransport : public Transport {
 public:
  static constexpr int kAttempts = 3;

  // Starts the transport's thread parked; the link stays closed until
  // open().
  InProcessTransport(LinkContext context, DeviceResponder& device, LinkType link);
  ~InProcessTransport() override;
  InProcessTransport(const InProcessTransport&) = delete;
  InProcessTransport& operator=(const InProcessTransport&) = delete;

  // Always succeeds: the device is in the process. The address is not used.
  bool open(const std::string& address) override;
  // Frames signalled while the link is closed are left in the slot
  // unanswered.
  void close() override;
  void signalWrite() override;
  void shutdown() override;

 private:
  // The wire bytes and expected reply kind of the frame in flight.
  struct Outgoing {
    std::vector<std::uint8_t> wire;
    ReplyKind replyKind;
  };

  // The thread's body: serves frames until parked or stopped.
  void serve();
  void exchange();
  std::optional<Outgoing> frameInFlight();
  bool attempt(const Outgoing& frame);
  void giveUp(ReplyKind replyKind);

  LinkContext context_;
  DeviceResponder& device_;
  const LinkType link_;
  Event write_;
  LinkThread thread_;
};

}  // namespace orvane
