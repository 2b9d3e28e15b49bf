#include "protocol/FrameBuilder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace orvane {

namespace {
constexpr std::array<std::uint8_t, FrameBuilder::kDefaultLength> kZeros{};
}

std::unique_ptr<SendData> FrameBuilder::make(const FrameHeader& header) const {
  return make(header, kZeros);
}

std::unique_ptr<SendData> FrameBuilder::make(const FrameHeader& header,
                                             std::span<const std::uint8_t> payload) const {
  auto frame = std::make_unique<SendData>();
  fill(*frame, header, payload);
  return frame;
}

void FrameBuilder::fill(SendData& frame, const FrameHeader& header,
                        std::span<const std::uint8_t> payload) const {
  if (payload.size() > kMaxPayload) throw std::length_error("frame payload");
  frame.writeHeader();
  frame.set(FrameOffset::Cmd, static_cast<std::uint8_t>(header.cmd));
  frame.set(FrameOffset::Link, header.link);
  frame.set(FrameOffset::DeviceId, header.deviceId);
  frame.set(FrameOffset::Value, header.value);
  frame.set(FrameOffset::Block, header.block);
  frame.set(FrameOffset::Item, header.item);
  frame.set(FrameOffset::Row, header.row);
  frame.set(FrameOffset::Reserved, 0);
  frame.set(FrameOffset::Length, static_cast<std::uint8_t>(payload.size()));
  std::copy(payload.begin(), payload.end(), frame.bytes.begin() + FrameOffset::Payload);
  frame.finalise(nonces_.next());
}

}  // namespace orvane
