#pragma once

// Takes a fuzzer's input apart: small numbers and flags from the front,
// the rest as the data the entry point under test receives. Reads past the
// end give zeros, so every input drives the target somewhere.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvane::fuzz {

class FuzzBytes {
 public:
  FuzzBytes(const std::uint8_t* data, std::size_t size) : rest_(data, size) {}

  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    const std::uint8_t b = rest_.front();
    rest_ = rest_.subspan(1);
    return b;
  }
  // Little-endian, two bytes.
  std::uint16_t word() { return static_cast<std::uint16_t>(byte() | (byte() << 8)); }
  // A number in [0, count).
  std::size_t pick(std::size_t count) { return count == 0 ? 0 : byte() % count; }
  bool flag() { return (byte() & 1) != 0; }

  // Up to `n` bytes, fewer when the input ends first.
  std::span<const std::uint8_t> take(std::size_t n) {
    const auto part = rest_.first(n < rest_.size() ? n : rest_.size());
    rest_ = rest_.subspan(part.size());
    return part;
  }
  std::span<const std::uint8_t> rest() {
    const auto all = rest_;
    rest_ = {};
    return all;
  }
  std::string_view restAsText() {
    const auto all = rest();
    return {reinterpret_cast<const char*>(all.data()), all.size()};
  }
  bool empty() const { return rest_.empty(); }

 private:
  std::span<const std::uint8_t> rest_;
};

}  // namespace orvane::fuzz
