#pragma once

// Finds sound frames in a byte stream: what a device hears on the RS-485
// bus or on its network connection. A frame may arrive in pieces, and noise
// or the remains of a broken frame may come before or between frames.
// A frame starts with 5A 5A 5A 88; bytes that cannot start one are dropped.
// A candidate that completes but fails its check (end byte AA, XOR of bytes
// 4 … 13+len) loses its first byte and the rest is searched again, so a good
// frame hidden behind a false start is still found.

#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

class FrameAssembler {
 public:
  using Frame = std::vector<std::uint8_t>;

  // Takes received bytes; returns the sound frames they complete, in order.
  std::vector<Frame> push(std::span<const std::uint8_t> bytes);
  // The line fell silent with a frame begun: a frame is sent in one go, so
  // that start was false. Drops its first byte and searches the rest again.
  std::vector<Frame> lineIdle();
  // A frame has begun and waits for more bytes.
  bool holdsPartial() const { return !buffer_.empty(); }

 private:
  std::vector<Frame> scan();

  std::vector<std::uint8_t> buffer_;
};

}  // namespace orvane
