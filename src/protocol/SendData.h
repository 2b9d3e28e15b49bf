#pragma once

// One frame of the device protocol with its bookkeeping. The wire image is an
// exact byte array:
//
//   0-2  sync 5A 5A 5A     3  start 88        4  cmd        5  link
//   6    nonce             7  device ID       8  value      9  block
//   10   item              11 row             12 reserved   13 length
//   14 … 13+len  payload   14+len  checksum (XOR of bytes 4 … 13+len)
//   15+len  end AA
//
// The bookkeeping never goes on the wire; it tells the worker and the
// transports what to do with the frame.

#include <array>
#include <cstdint>
#include <span>

namespace orvane {

enum class FrameCode : std::uint8_t {
  CmdWrite = 0xA1,
  CmdRead = 0xA2,
  CmdProgram = 0xA9,
  ReplyData = 0x53,
  ReplyQ = 0x51,
  ReplyR = 0x52,
};

// Program and lock-data operations (byte 9 of a CmdProgram frame).
enum class ProgramOp : std::uint8_t {
  ReadLocks = 0xA1,
  WriteLocks = 0xA2,
  ReadStoredLocks = 0xB1,
  WriteStoredLocks = 0xB2
};

// The special reply a frame expects.
enum class ReplyKind : std::uint8_t {
  None = 0,
  NetworkNameRead = 1,
  NetworkNameWrite = 2,
  NetworkFactoryReset = 3
};

namespace FrameOffset {
inline constexpr std::size_t Cmd = 4;
inline constexpr std::size_t Link = 5;
inline constexpr std::size_t Nonce = 6;
inline constexpr std::size_t DeviceId = 7;
inline constexpr std::size_t Value = 8;
inline constexpr std::size_t Block = 9;
inline constexpr std::size_t Item = 10;
inline constexpr std::size_t Row = 11;
inline constexpr std::size_t Reserved = 12;
inline constexpr std::size_t Length = 13;
inline constexpr std::size_t Payload = 14;
}  // namespace FrameOffset

inline constexpr std::uint8_t kSyncByte = 0x5A;
inline constexpr std::uint8_t kStartByte = 0x88;
inline constexpr std::uint8_t kEndByte = 0xAA;
inline constexpr std::size_t kFrameOverhead = 16;
inline constexpr std::size_t kMaxPayload = 255;
inline constexpr std::size_t kMaxFrameSize = kMaxPayload + kFrameOverhead;  // 271

// The checksum a frame carries after its payload: the XOR of bytes 4 …
// 13+len of `frame`, which holds at least the frame's header and payload.
std::uint8_t frameChecksum(std::span<const std::uint8_t> frame);

// What the worker and the transports note about a frame; never on the wire.
// How far a link has got with the frame (pieces written, time-outs,
// re-sends) is the link's own and lives in its transport.
struct FrameBookkeeping {
  std::uint8_t checksum = 0;        // on receive: the checksum byte as received
  std::uint8_t endByte = kEndByte;  // on receive: the end byte as received
  int rxCount = 0;                  // receive: bytes stored so far
  bool rxSynced = false;            // receive: three sync bytes seen
  bool rxBad = false;               // receive: the completed frame failed its check
  bool ready = false;               // transmit: complete, waits to be written
  std::int16_t progressPos = 0;     // progress position when taken; ID probes: the ID
  bool showProgress = false;        // part of a transfer that drives a progress bar
  bool lastOfTransfer = false;      // the last frame of such a transfer
  bool idProbe = false;             // an ID-search probe
  ReplyKind replyKind = ReplyKind::None;
  // The connection check of a new link: taking it from the queue starts the
  // check, so a reply still awaited for an earlier frame is not refused.
  bool startsConnectionCheck = false;
};

struct SendData : FrameBookkeeping {
  std::array<std::uint8_t, kMaxFrameSize> bytes{};

  SendData() { writeHeader(); }

  void writeHeader() {
    bytes[0] = bytes[1] = bytes[2] = kSyncByte;
    bytes[3] = kStartByte;
  }

  std::uint8_t at(std::size_t offset) const { return bytes[offset]; }
  void set(std::size_t offset, std::uint8_t value) { bytes[offset] = value; }

  std::uint8_t cmd() const { return bytes[FrameOffset::Cmd]; }
  std::uint8_t link() const { return bytes[FrameOffset::Link]; }
  std::uint8_t value() const { return bytes[FrameOffset::Value]; }
  std::uint8_t block() const { return bytes[FrameOffset::Block]; }
  std::uint8_t item() const { return bytes[FrameOffset::Item]; }
  std::uint8_t row() const { return bytes[FrameOffset::Row]; }
  std::size_t length() const { return bytes[FrameOffset::Length]; }
  std::size_t wireSize() const { return length() + kFrameOverhead; }

  std::span<const std::uint8_t> payload() const {
    return std::span(bytes).subspan(FrameOffset::Payload, length());
  }
  std::span<std::uint8_t> payload() { return std::span(bytes).subspan(FrameOffset::Payload, length()); }
  // The frame as written to the wire.
  std::span<const std::uint8_t> wire() const { return std::span(bytes).first(wireSize()); }

  // XOR of cmd through the last payload byte.
  std::uint8_t computeChecksum() const;
  // Sets the nonce, checksum and end byte and marks the frame ready.
  void finalise(std::uint8_t nonce);
  // All bookkeeping and bytes from `from` on back to zero.
  void clearFrom(std::size_t from);
};

}  // namespace orvane
