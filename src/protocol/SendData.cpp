#include "protocol/SendData.h"

#include <algorithm>
#include <numeric>

namespace orvane {

std::uint8_t frameChecksum(std::span<const std::uint8_t> frame) {
  const auto covered =
      frame.subspan(FrameOffset::Cmd, FrameOffset::Payload + frame[FrameOffset::Length] - FrameOffset::Cmd);
  return std::accumulate(
      covered.begin(), covered.end(), std::uint8_t{0},
      [](std::uint8_t x, std::uint8_t byte) { return static_cast<std::uint8_t>(x ^ byte); });
}

std::uint8_t SendData::computeChecksum() const {
  return frameChecksum(bytes);
}

void SendData::finalise(std::uint8_t nonce) {
  bytes[FrameOffset::Nonce] = nonce;
  checksum = computeChecksum();
  endByte = kEndByte;
  bytes[FrameOffset::Payload + length()] = checksum;
  bytes[FrameOffset::Payload + length() + 1] = kEndByte;
  ready = true;
}

void SendData::clearFrom(std::size_t from) {
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end(), std::uint8_t{0});
  static_cast<FrameBookkeeping&>(*this) = FrameBookkeeping{};
  checksum = 0;
  endByte = 0;
}

}  // namespace orvane
