#pragma once

// The ICMP echo request with which the network link checks that a device's
// address answers before it connects, and the test that tells a received
// datagram to be the answer to it.
//
// The request is 44 bytes, its multi-byte fields in the host's byte order
// (the identifier is compared in that order when the answer comes back):
//
//   0  type 8 (echo request)   1  code 0        2-3  checksum
//   4-5  identifier            6-7  sequence    8-11 millisecond tick at sending
//   12-43  32 bytes of 0x45

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace orvane {

inline constexpr std::size_t kEchoRequestSize = 44;
using EchoRequest = std::array<std::uint8_t, kEchoRequestSize>;

namespace EchoOffset {
inline constexpr std::size_t Type = 0;
inline constexpr std::size_t Code = 1;
inline constexpr std::size_t Checksum = 2;
inline constexpr std::size_t Identifier = 4;
inline constexpr std::size_t Sequence = 6;
inline constexpr std::size_t Timestamp = 8;
inline constexpr std::size_t Data = 12;
}  // namespace EchoOffset

inline constexpr std::uint8_t kEchoRequestType = 8;
inline constexpr std::uint8_t kEchoReplyType = 0;
inline constexpr std::uint8_t kEchoFill = 0x45;

// The Internet checksum: the one's complement of the one's-complement sum of
// the bytes taken as 16-bit words in the host's order, an odd last byte
// padded with a zero byte. Stored in the host's order it is right on the wire
// whatever the host's byte order.
std::uint16_t internetChecksum(std::span<const std::uint8_t> bytes);

// A complete request with its checksum.
EchoRequest buildEchoRequest(std::uint16_t identifier, std::uint16_t sequence, std::uint32_t tick);

// The form in which a socket hands over received datagrams.
enum class EchoDatagram : std::uint8_t {
  WithIpHeader,  // raw sockets: the IP header, its length in the low four bits of byte 0, then ICMP
  IcmpOnly,      // ICMP datagram sockets: the ICMP message alone
};

// The tick the answer carries back when `datagram` is an echo reply to a
// request with `identifier`; nothing for anything else: other ICMP messages,
// our own request seen on the loopback interface, other processes' replies,
// and datagrams too short to hold the echoed tick.
std::optional<std::uint32_t> echoAnswerTick(std::span<const std::uint8_t> datagram, EchoDatagram form,
                                            std::uint16_t identifier);

// The low 16 bits of the process ID, the identifier of this program's
// requests.
std::uint16_t echoIdentifier();
// A millisecond tick count that wraps at 32 bits.
std::uint32_t echoTick();

}  // namespace orvane
