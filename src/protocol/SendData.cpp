#include "protocol/SendData.h"

#include <algorithm>

namespace orvane {

std::uint8_t SendData::computeChecksum() const {
  std::uint8_t x = 0;
  const std::size_t end = FrameOffset::Payload + length();
  for (std::size_t i = FrameOffset::Cmd; i < end; ++i) x ^= bytes[i];
  return x;
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
