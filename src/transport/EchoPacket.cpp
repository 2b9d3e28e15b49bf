#include "transport/EchoPacket.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace orvane {

namespace {

constexpr std::size_t kMinIpHeader = 20;
constexpr std::uint8_t kIhlMask = 0x0F;
constexpr std::size_t kIhlUnit = 4;

template <class T>
T load(std::span<const std::uint8_t> bytes, std::size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

template <class T>
void store(std::span<std::uint8_t> bytes, std::size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

}  // namespace

std::uint16_t internetChecksum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) sum += load<std::uint16_t>(bytes, i);
  if (i < bytes.size()) {
    const std::array<std::uint8_t, 2> last{bytes[i], 0};
    sum += load<std::uint16_t>(last, 0);
  }
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

EchoRequest buildEchoRequest(std::uint16_t identifier, std::uint16_t sequence, std::uint32_t tick) {
  EchoRequest r{};
  r[EchoOffset::Type] = kEchoRequestType;
  r[EchoOffset::Code] = 0;
  store(std::span(r), EchoOffset::Identifier, identifier);
  store(std::span(r), EchoOffset::Sequence, sequence);
  store(std::span(r), EchoOffset::Timestamp, tick);
  std::fill(r.begin() + EchoOffset::Data, r.end(), kEchoFill);
  store(std::span(r), EchoOffset::Checksum, internetChecksum(r));
  return r;
}

std::optional<std::uint32_t> echoAnswerTick(std::span<const std::uint8_t> datagram, EchoDatagram form,
                                            std::uint16_t identifier) {
  if (datagram.empty()) return std::nullopt;
  std::size_t icmp = 0;
  if (form == EchoDatagram::WithIpHeader) {
    icmp = (datagram[0] & kIhlMask) * kIhlUnit;
    if (icmp < kMinIpHeader) return std::nullopt;
  }
  // The tick is read from the answer, so the answer must reach past it.
  if (datagram.size() < icmp + EchoOffset::Data) return std::nullopt;
  if (datagram[icmp + EchoOffset::Type] != kEchoReplyType) return std::nullopt;
  if (load<std::uint16_t>(datagram, icmp + EchoOffset::Identifier) != identifier) return std::nullopt;
  return load<std::uint32_t>(datagram, icmp + EchoOffset::Timestamp);
}

std::uint16_t echoIdentifier() {
  return static_cast<std::uint16_t>(::getpid() & 0xFFFF);
}

std::uint32_t echoTick() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

}  // namespace orvane
