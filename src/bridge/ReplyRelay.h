#pragma once

// Takes the device's replies for the bridge: a reply that passes its check
// is kept, as it came, to be passed on to the network client. The answer to
// the connection check is passed on even with a wrong checksum, because the
// editor at the other end accepts it so; any other bad reply is refused and
// the device link sends the request again.

#include <mutex>
#include <optional>

#include "protocol/FrameAssembler.h"
#include "protocol/ReplySink.h"

namespace orvane {

class ReplyRelay : public ReplySink {
 public:
  using Frame = FrameAssembler::Frame;

  bool dispatch(const SendData& reply, const SendData& inFlight) override;

  // The reply kept since the last call, with its wire bytes as received.
  std::optional<Frame> take();

 private:
  std::mutex mutex_;
  std::optional<Frame> reply_;
};

}  // namespace orvane
