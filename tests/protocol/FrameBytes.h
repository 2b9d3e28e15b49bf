#pragma once

// Wire frames for tests. Every header, checksum and end byte is written out
// by hand in the test itself; only long payloads come from the two pattern
// helpers here, so a test never asks the code under test what to expect.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace orvane::test {

using Bytes = std::vector<std::uint8_t>;

// `count` bytes counting up from `first`, wrapping at 0xFF.
inline Bytes counting(std::size_t count, std::uint8_t first = 0) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(first + i);
  return bytes;
}

inline Bytes repeated(std::size_t count, std::uint8_t byte) {
  return Bytes(count, byte);
}

// The bytes of a frame in wire order: the 14 header bytes, the payload, the
// checksum and the end byte.
inline Bytes frame(std::initializer_list<std::uint8_t> header, const Bytes& payload, std::uint8_t checksum,
                   std::uint8_t end = 0xAA) {
  Bytes bytes;
  bytes.reserve(header.size() + payload.size() + 2);
  for (std::uint8_t b : header) bytes.push_back(b);
  for (std::uint8_t b : payload) bytes.push_back(b);
  bytes.push_back(checksum);
  bytes.push_back(end);
  return bytes;
}

inline Bytes concat(const Bytes& a, const Bytes& b) {
  Bytes bytes;
  bytes.reserve(a.size() + b.size());
  for (std::uint8_t x : a) bytes.push_back(x);
  for (std::uint8_t x : b) bytes.push_back(x);
  return bytes;
}

}  // namespace orvane::test
