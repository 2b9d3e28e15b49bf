#include "protocol/FrameAssembler.h"

#include <algorithm>
#include <array>

#include "protocol/SendData.h"

namespace orvane {

namespace {

constexpr std::array<std::uint8_t, 4> kFrameStart{kSyncByte, kSyncByte, kSyncByte, kStartByte};

// The buffer begins with as much of the frame start as it holds.
bool beginsFrame(std::span<const std::uint8_t> bytes) {
  const std::size_t n = std::min(bytes.size(), kFrameStart.size());
  return std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n), kFrameStart.begin());
}

bool passesCheck(std::span<const std::uint8_t> frame) {
  const std::size_t checksumAt = frame.size() - 2;
  return frame[checksumAt] == frameChecksum(frame) && frame[checksumAt + 1] == kEndByte;
}

}  // namespace

std::vector<FrameAssembler::Frame> FrameAssembler::push(std::span<const std::uint8_t> bytes) {
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  return scan();
}

std::vector<FrameAssembler::Frame> FrameAssembler::lineIdle() {
  if (buffer_.empty()) return {};
  buffer_.erase(buffer_.begin());
  return scan();
}

std::vector<FrameAssembler::Frame> FrameAssembler::scan() {
  std::vector<Frame> frames;
  std::size_t at = 0;
  while (at < buffer_.size()) {
    const std::span<const std::uint8_t> rest(buffer_.data() + at, buffer_.size() - at);
    if (!beginsFrame(rest)) {
      ++at;
      continue;
    }
    if (rest.size() <= FrameOffset::Length) break;
    const std::size_t size = rest[FrameOffset::Length] + kFrameOverhead;
    if (rest.size() < size) break;
    const auto frame = rest.first(size);
    if (!passesCheck(frame)) {
      ++at;
      continue;
    }
    frames.emplace_back(frame.begin(), frame.end());
    at += size;
  }
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(at));
  return frames;
}

}  // namespace orvane
