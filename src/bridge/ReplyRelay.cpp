#include "bridge/ReplyRelay.h"

#include <utility>

#include "protocol/SystemItem.h"

namespace orvane {

namespace {

bool isConnectionCheck(const SendData& frame) {
  return frame.block() == BlockCode::System && frame.item() == SystemItem::ConnectionCheck;
}

}  // namespace

bool ReplyRelay::dispatch(const SendData& reply, const SendData& inFlight) {
  if (reply.endByte != kEndByte) return false;
  const bool checkAnswer = isConnectionCheck(inFlight) && isConnectionCheck(reply) &&
                           reply.cmd() == static_cast<std::uint8_t>(FrameCode::ReplyData);
  if (reply.computeChecksum() != reply.checksum && !checkAnswer) return false;
  // A received frame keeps its checksum and end byte beside the bytes.
  const std::size_t body = reply.wireSize() - 2;
  Frame wire(reply.bytes.begin(), reply.bytes.begin() + static_cast<std::ptrdiff_t>(body));
  wire.push_back(reply.checksum);
  wire.push_back(reply.endByte);
  std::lock_guard lock(mutex_);
  reply_ = std::move(wire);
  return true;
}

std::optional<ReplyRelay::Frame> ReplyRelay::take() {
  std::lock_guard lock(mutex_);
  return std::exchange(reply_, std::nullopt);
}

}  // namespace orvane
