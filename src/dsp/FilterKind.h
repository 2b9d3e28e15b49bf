#pragma once

#include <cstdint>

namespace orvane {

// What an element of a channel's filter set models. The first three equal
// the `Type` byte of an EQ band record; the high-pass and low-pass exist only
// in the element, the crossover pair has no kind byte. A band record with a
// damaged `Type` byte can hold any other value; such an element is flat.
enum class FilterKind : std::uint8_t { Peaking = 0, LowShelf = 1, HighShelf = 2, HighPass = 3, LowPass = 4 };

constexpr bool isBandKind(FilterKind kind) {
  return kind == FilterKind::Peaking || kind == FilterKind::LowShelf || kind == FilterKind::HighShelf;
}
constexpr bool isCrossoverKind(FilterKind kind) {
  return kind == FilterKind::HighPass || kind == FilterKind::LowPass;
}

}  // namespace orvane
