#include "protocol/LinkSlot.h"

#include <algorithm>

namespace orvane {

namespace {
constexpr int kSyncCount = 3;
constexpr std::size_t kHeaderEnd = FrameOffset::Payload;
}  // namespace

bool LinkSlot::parse(std::span<const std::uint8_t> bytes, ReplySink& sink) {
  std::lock_guard lock(mutex_);
  receive_.replyKind = transmit_.replyKind;
  while (!bytes.empty()) {
    const std::size_t stored = storeRun(bytes);
    if (stored > 0) {
      bytes = bytes.subspan(stored);
      continue;
    }
    const std::uint8_t byte = bytes.front();
    bytes = bytes.subspan(1);
    if (!feed(byte)) continue;
    if (sink.dispatch(receive_, transmit_))
      clearLocked(true);
    else
      receive_.rxBad = true;
    return true;
  }
  return false;
}

// The header or payload bytes at the front of `bytes` that go into the
// receive frame as they are, copied in one piece; how many. The length byte
// ends the header's piece, so the payload's is known from it.
std::size_t LinkSlot::storeRun(std::span<const std::uint8_t> bytes) {
  SendData& r = receive_;
  if (!r.rxSynced) return 0;
  const auto n = static_cast<std::size_t>(r.rxCount);
  const std::size_t end = n < kHeaderEnd ? kHeaderEnd : r.length() + kHeaderEnd;
  if (n >= end) return 0;
  const std::size_t count = std::min(end - n, bytes.size());
  std::copy_n(bytes.begin(), count, r.bytes.begin() + static_cast<std::ptrdiff_t>(n));
  r.rxCount += static_cast<int>(count);
  return count;
}

// One byte into the receive frame that storeRun() does not take: a sync
// byte, the checksum or the end byte. True when it completed the frame.
bool LinkSlot::feed(std::uint8_t byte) {
  SendData& r = receive_;
  if (!r.rxSynced) {
    if (byte != kSyncByte) return false;
    r.bytes[static_cast<std::size_t>(r.rxCount++)] = byte;
    r.rxSynced = r.rxCount == kSyncCount;
    return false;
  }
  const auto n = static_cast<std::size_t>(r.rxCount);
  const std::size_t checksumAt = r.length() + kHeaderEnd;
  if (n == checksumAt) {
    r.checksum = byte;
  } else if (n == checksumAt + 1) {
    r.endByte = byte;
    ++r.rxCount;
    return true;
  } else {
    return false;
  }
  ++r.rxCount;
  return false;
}

void LinkSlot::clear(bool alsoTransmit) {
  std::lock_guard lock(mutex_);
  clearLocked(alsoTransmit);
}

void LinkSlot::clearLocked(bool alsoTransmit) {
  receive_.clearFrom(0);
  if (alsoTransmit) transmit_.clearFrom(FrameOffset::Cmd);
}

}  // namespace orvane
