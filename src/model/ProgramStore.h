#pragma once

// The PC-side copy of the device's 30 stored programs. A program record is the
// unit of the program store and of the all-programs file: the sixteen channel
// blocks, the program name and the lock packet.

#include <array>
#include <cstdint>
#include <span>

#include "model/BlockLayout.h"

namespace orvane {

inline constexpr std::size_t kProgramRecordSize = 1884;
inline constexpr int kPrograms = 30;
inline constexpr std::size_t kProgramNameBytes = 16;
inline constexpr std::size_t kLockPacketBytes = 12;

using ProgramRecord = std::array<std::uint8_t, kProgramRecordSize>;

namespace ProgramRecordOffset {
inline constexpr std::size_t Inputs = 0;
inline constexpr std::size_t Outputs = kChannels * kInputBlockSize;          // 960
inline constexpr std::size_t Name = Outputs + kChannels * kOutputBlockSize;  // 1856
inline constexpr std::size_t LockPacket = Name + kProgramNameBytes;          // 1872
}  // namespace ProgramRecordOffset

// Views of the parts of one record (const or not, as the record is).
template <class Record>
auto recordBlock(Record& record, Side side, int channel) {
  const std::size_t size = blockSize(side);
  const std::size_t base = side == Side::Input ? ProgramRecordOffset::Inputs : ProgramRecordOffset::Outputs;
  return std::span(record).subspan(base + static_cast<std::size_t>(channel) * size, size);
}
template <class Record>
auto recordName(Record& record) {
  return std::span(record).subspan(ProgramRecordOffset::Name, kProgramNameBytes);
}
template <class Record>
auto recordLockPacket(Record& record) {
  return std::span(record).subspan(ProgramRecordOffset::LockPacket, kLockPacketBytes);
}

// Programs 1..30 in order, zero-filled at start.
using ProgramStore = std::array<ProgramRecord, kPrograms>;

}  // namespace orvane
