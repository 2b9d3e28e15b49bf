#include "protocol/LinkSlot.h"

namespace orvane {

namespace {
constexpr int kSyncCount = 3;
constexpr int kHeaderEnd = static_cast<int>(FrameOffset::Payload);
}  // namespace

bool LinkSlot::parse(std::span<const std::uint8_t> bytes, ReplySink& sink) {
  std::lock_guard lock(mutex_);
  receive_.replyKind = transmit_.replyKind;
  for (std::uint8_t byte : bytes) {
    if (!feed(byte)) continue;
    if (sink.dispatch(receive_, transmit_))
      clearLocked(true);
    else
      receive_.rxBad = true;
    return true;
  }
  return false;
}

// One byte into the receive frame; true when it completed the frame.
bool LinkSlot::feed(std::uint8_t byte) {
  SendData& r = receive_;
  if (!r.rxSynced) {
    if (byte != kSyncByte) return false;
    r.bytes[static_cast<std::size_t>(r.rxCount++)] = byte;
    r.rxSynced = r.rxCount == kSyncCount;
    return false;
  }
  const int n = r.rxCount;
  const int len = static_cast<int>(r.length());
  if (n < kHeaderEnd || n < len + kHeaderEnd) {
    r.bytes[static_cast<std::size_t>(n)] = byte;
  } else if (n == len + kHeaderEnd) {
    r.checksum = byte;
  } else if (n == len + kHeaderEnd + 1) {
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
