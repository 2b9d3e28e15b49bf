#pragma once

// A factory-fresh simulated device whose replies all carry nonce 0x2A, so
// that every reply can be written down byte for byte.

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "sim/DeviceResponder.h"

namespace orvane {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kNonce = 0x2A;

// Lays out a frame in wire order: sync and start, cmd, link, nonce, device
// ID, value, block, item, row, reserved 0, length, payload, then the
// checksum as worked out by hand and the end byte. It computes nothing.
inline Bytes frame(std::uint8_t cmd, std::uint8_t link, std::uint8_t nonce, std::uint8_t id,
                   std::uint8_t value, std::uint8_t block, std::uint8_t item, std::uint8_t row,
                   const Bytes& payload, std::uint8_t checksum) {
  const std::array<std::uint8_t, 14> header = {
      0x5A, 0x5A,  0x5A,  0x88, cmd, link, nonce,
      id,   value, block, item, row, 0x00, static_cast<std::uint8_t>(payload.size())};
  Bytes bytes(header.size() + payload.size() + 2);
  std::copy(header.begin(), header.end(), bytes.begin());
  std::copy(payload.begin(), payload.end(), bytes.begin() + header.size());
  bytes[header.size() + payload.size()] = checksum;
  bytes.back() = 0xAA;
  return bytes;
}

// The payload, and its length, of a reply; nothing when there was none.
inline std::optional<Bytes> payloadOf(const std::optional<Bytes>& reply) {
  if (!reply || reply->size() < 16) return std::nullopt;
  return Bytes(reply->begin() + 14, reply->end() - 2);
}
inline std::optional<std::size_t> payloadLength(const std::optional<Bytes>& reply) {
  if (!reply || reply->size() < 16) return std::nullopt;
  return (*reply)[13];
}

class ResponderTest : public ::testing::Test {
 protected:
  std::optional<Bytes> respond(const Bytes& request) { return device.respond(request); }

  DeviceState state;
  DeviceResponder device{state, [] { return kNonce; }};
};

}  // namespace orvane
