#pragma once

// Byte layout of the device's channel blocks. The blocks travel to the device
// byte for byte and are written to program files byte for byte, so every
// offset and width here is fixed by the device firmware and by existing files.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

enum class Side : std::uint8_t { Input, Output };

inline constexpr int kChannels = 8;
inline constexpr int kRowBytes = 8;
inline constexpr std::size_t kInputBlockSize = 120;
inline constexpr std::size_t kOutputBlockSize = 112;
inline constexpr std::size_t kNameBytes = 8;

using InputBlock = std::array<std::uint8_t, kInputBlockSize>;
using OutputBlock = std::array<std::uint8_t, kOutputBlockSize>;
using Row = std::array<std::uint8_t, kRowBytes>;

constexpr std::size_t blockSize(Side side) {
  return side == Side::Input ? kInputBlockSize : kOutputBlockSize;
}
constexpr int rowCount(Side side) {
  return static_cast<int>(blockSize(side)) / kRowBytes;
}
constexpr int bandCount(Side side) {
  return side == Side::Input ? 8 : 9;
}

// Bytes [first, last) of a block.
struct ByteRange {
  std::size_t first, last;
};

// A numeric field of a channel block: one byte, or a signed little-endian
// 16-bit word.
struct Field {
  std::uint16_t offset;
  std::uint8_t width;

  constexpr int row() const { return offset / kRowBytes; }
  friend constexpr bool operator==(Field, Field) = default;
};

// Fields at the same place in input and output blocks.
namespace CommonField {
inline constexpr Field Mute{8, 1};
inline constexpr Field Polarity{9, 1};
inline constexpr Field Delay{10, 2};
inline constexpr Field Gain{12, 2};
inline constexpr Field Allvolume{14, 2};
inline constexpr Field LinkGroup{23, 1};
}  // namespace CommonField

namespace InputField {
using namespace CommonField;
inline constexpr Field All_Feedback{17, 1};
inline constexpr Field Feedback{18, 1};
inline constexpr Field LevelClass{19, 1};
inline constexpr Field ClassLevel{20, 1};
inline constexpr Field NoiseGate{22, 1};
inline constexpr Field AGC_TargetLevel{32, 2};
inline constexpr Field AGC_Threshold{34, 2};
inline constexpr Field AGC_ReleaseTime{36, 2};
inline constexpr Field AGC_ResponseTime{38, 1};
inline constexpr Field AGC_Ratio{39, 1};
inline constexpr Field Comp_Level{40, 2};
inline constexpr Field Comp_A{42, 2};
inline constexpr Field Comp_R{44, 2};
inline constexpr Field Comp_ratio{46, 1};
inline constexpr std::uint16_t kCrossoverOffset = 48;
inline constexpr std::uint16_t kBandsOffset = 56;

// Mix level of this input into output `output` (0..7): `Out1_MG` … `Out8_MG`.
constexpr Field mix(int output) {
  return Field{static_cast<std::uint16_t>(24 + output), 1};
}
}  // namespace InputField

namespace OutputField {
using namespace CommonField;
inline constexpr Field Lim_Threshold{16, 2};
inline constexpr Field Lim_Attack{18, 2};
inline constexpr Field Lim_Release{20, 2};
inline constexpr Field Comp_Level{24, 2};
inline constexpr Field Comp_A{26, 2};
inline constexpr Field Comp_R{28, 2};
inline constexpr Field Comp_ratio{30, 1};
inline constexpr std::uint16_t kCrossoverOffset = 32;
inline constexpr std::uint16_t kBandsOffset = 40;
}  // namespace OutputField

// The five fields of one EQ band record (8 bytes).
struct BandFields {
  Field FQCY, Gain, Q, Slope, Type;
};

// The six fields of a crossover pair (8 bytes): high-pass ("Lo") and
// low-pass ("Hi") filter.
struct CrossoverFields {
  Field XFQCY_Lo, XMode_Lo, XSLope_Lo, XFQCY_Hi, XMode_Hi, XSLope_Hi;
};

constexpr std::uint16_t crossoverOffset(Side side) {
  return side == Side::Input ? InputField::kCrossoverOffset : OutputField::kCrossoverOffset;
}

// Offset of EQ band `band` (0-based) within a block of `side`.
constexpr std::uint16_t bandOffset(Side side, int band) {
  const std::uint16_t first = side == Side::Input ? InputField::kBandsOffset : OutputField::kBandsOffset;
  return static_cast<std::uint16_t>(first + band * kRowBytes);
}

constexpr BandFields bandFields(Side side, int band) {
  const std::uint16_t at = bandOffset(side, band);
  return {Field{at, 2}, Field{static_cast<std::uint16_t>(at + 2), 2},
          Field{static_cast<std::uint16_t>(at + 4), 2}, Field{static_cast<std::uint16_t>(at + 6), 1},
          Field{static_cast<std::uint16_t>(at + 7), 1}};
}

constexpr CrossoverFields crossoverFields(Side side) {
  const std::uint16_t at = crossoverOffset(side);
  return {Field{at, 2},
          Field{static_cast<std::uint16_t>(at + 2), 1},
          Field{static_cast<std::uint16_t>(at + 3), 1},
          Field{static_cast<std::uint16_t>(at + 4), 2},
          Field{static_cast<std::uint16_t>(at + 6), 1},
          Field{static_cast<std::uint16_t>(at + 7), 1}};
}

// Reads a field: bytes as unsigned, words as signed little-endian.
inline int readField(std::span<const std::uint8_t> block, Field field) {
  if (field.width == 1) return block[field.offset];
  const auto word = static_cast<std::uint16_t>(block[field.offset] | (block[field.offset + 1u] << 8));
  return static_cast<std::int16_t>(word);
}

inline void writeField(std::span<std::uint8_t> block, Field field, int value) {
  block[field.offset] = static_cast<std::uint8_t>(value & 0xFF);
  if (field.width == 2) block[field.offset + 1u] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

}  // namespace orvane
