#include "sim/DeviceResponder.h"

#include <algorithm>
#include <random>

#include "protocol/SendData.h"
#include "protocol/SystemItem.h"

namespace orvane {

namespace {

constexpr std::uint8_t kSerialLink = 1;
constexpr int kWorkingState = 0;
constexpr int kDeviceLockSet = 31;
constexpr int kLastProgram = 30;
constexpr std::size_t kFunctionLockBytes = 4;  // flags 0..31
constexpr std::size_t kUnknownItemBytes = 8;
constexpr int kNonceRange = 101;
constexpr std::uint8_t kCorruption = 0xFF;

using Bytes = std::vector<std::uint8_t>;

// What the device sends back, before it is framed.
struct Answer {
  FrameCode code = FrameCode::ReplyData;
  Bytes payload;
};

Answer withData(std::span<const std::uint8_t> bytes) {
  return {FrameCode::ReplyData, Bytes(bytes.begin(), bytes.end())};
}
Answer acknowledge() {
  return {};
}

bool isProgram(int value) {
  return value >= 1 && value <= kLastProgram;
}

bool isReplyCode(std::uint8_t cmd) {
  const auto code = static_cast<FrameCode>(cmd);
  return code == FrameCode::ReplyData || code == FrameCode::ReplyQ || code == FrameCode::ReplyR;
}

// The request as a frame record when its bytes form a sound frame: sync and
// start bytes, the whole payload, a matching checksum and the end byte.
std::optional<SendData> acceptRequest(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFrameOverhead) return std::nullopt;
  const bool framed =
      bytes[0] == kSyncByte && bytes[1] == kSyncByte && bytes[2] == kSyncByte && bytes[3] == kStartByte;
  const std::size_t size = bytes[FrameOffset::Length] + kFrameOverhead;
  if (!framed || bytes.size() < size) return std::nullopt;
  SendData frame;
  std::copy_n(bytes.begin(), size, frame.bytes.begin());
  const std::size_t checksumAt = size - 2;
  if (frame.computeChecksum() != bytes[checksumAt] || bytes[checksumAt + 1] != kEndByte) return std::nullopt;
  return frame;
}

// The channel block a frame names: the working state's for program 0, a
// stored program's for 1..30; empty when the frame names no block.
std::span<std::uint8_t> channelBlock(DeviceData& d, const SendData& frame) {
  if ((frame.block() != BlockCode::Input && frame.block() != BlockCode::Output) || frame.item() >= kChannels)
    return {};
  const Side side = frame.block() == BlockCode::Input ? Side::Input : Side::Output;
  if (frame.value() == kWorkingState) return d.working.block(side, frame.item());
  if (isProgram(frame.value())) return recordBlock(d.program(frame.value()), side, frame.item());
  return {};
}

// A write lands at its row (from byte 0 for program-store transfers) and
// only when it fits entirely inside the block; anything else is left out
// rather than half applied.
void writeChannel(DeviceData& d, const SendData& frame) {
  const bool storeTransfer = frame.row() == kProgramStoreRow;
  if (storeTransfer && !isProgram(frame.value())) return;
  const std::span<std::uint8_t> block = channelBlock(d, frame);
  const std::size_t offset = storeTransfer ? 0 : std::size_t{frame.row()} * kRowBytes;
  const auto payload = frame.payload();
  if (block.empty() || offset + payload.size() > block.size()) return;
  std::ranges::copy(payload, block.begin() + static_cast<std::ptrdiff_t>(offset));
}

// The name of program `value`, or the current program's for 0; empty when
// no such program exists.
std::span<std::uint8_t> nameField(DeviceData& d, int value) {
  if (value == kWorkingState) return d.currentProgramName;
  if (isProgram(value)) return recordName(d.program(value));
  return {};
}

void writeName(std::span<std::uint8_t> name, std::span<const std::uint8_t> text) {
  std::ranges::fill(name, std::uint8_t{0});
  std::copy_n(text.begin(), std::min(text.size(), name.size()), name.begin());
}

template <std::size_t N>
void writeWholeBlock(std::array<std::uint8_t, N>& block, std::span<const std::uint8_t> payload) {
  if (payload.size() == N) std::ranges::copy(payload, block.begin());
}

Answer readSystemItem(DeviceData& d, const SendData& frame, bool failConnectionCheck) {
  switch (frame.item()) {
    case SystemItem::ProgramName:
      return withData(nameField(d, frame.value()));
    case SystemItem::Levels:
      return withData(d.levels);
    case SystemItem::FirmwareVersion:
      return withData(d.firmwareVersion);
    case SystemItem::DeviceId:
      return withData(std::array{d.deviceId});
    case SystemItem::StartupProgram:
      return withData(std::array{d.startupProgram});
    case SystemItem::NetworkName:
      if (d.networkName.empty()) return {FrameCode::ReplyR, {}};
      return withData(d.networkName);
    case SystemItem::SetupBlock:
      return withData(d.setup);
    case SystemItem::ExtendedBlock:
      return withData(d.extended);
    case SystemItem::ConnectionCheck:
      return withData(std::array{static_cast<std::uint8_t>(failConnectionCheck ? 1 : 0)});
    default:
      return withData(Bytes(kUnknownItemBytes, 0));
  }
}

Answer writeSystemItem(DeviceData& d, const SendData& frame) {
  const auto payload = frame.payload();
  switch (frame.item()) {
    case SystemItem::ProgramName:
      writeName(nameField(d, frame.value()), payload);
      break;
    case SystemItem::DeviceId:
      // The bus knows IDs 1..250 only; a device given any other could never
      // be reached again.
      if (!payload.empty() && payload[0] >= 1 && payload[0] <= DeviceData::kMaxDeviceId)
        d.deviceId = payload[0];
      break;
    case SystemItem::StartupProgram:
      if (!payload.empty() && payload[0] <= kLastProgram) d.startupProgram = payload[0];
      break;
    case SystemItem::NetworkName:
      d.networkName.assign(payload.begin(), payload.end());
      return {FrameCode::ReplyQ, {}};
    case SystemItem::NetworkFactoryReset:
      d.networkName.assign(DeviceState::kFactoryNetworkName.begin(), DeviceState::kFactoryNetworkName.end());
      return {FrameCode::ReplyQ, {}};
    case SystemItem::SetupBlock:
      writeWholeBlock(d.setup, payload);
      break;
    case SystemItem::ExtendedBlock:
      writeWholeBlock(d.extended, payload);
      break;
    case SystemItem::CameraMessage:
      d.lastCameraMessage.assign(payload.begin(), payload.end());
      break;
    default:
      break;
  }
  return acknowledge();
}

Answer read(DeviceData& d, const SendData& frame, bool failConnectionCheck) {
  if (frame.block() == BlockCode::System) return readSystemItem(d, frame, failConnectionCheck);
  return withData(channelBlock(d, frame));
}

Answer write(DeviceData& d, const SendData& frame) {
  if (frame.block() == BlockCode::System) return writeSystemItem(d, frame);
  writeChannel(d, frame);
  return acknowledge();
}

// Loading a stored program: its blocks become the working state, its name
// the current name, and its function locks those of the working state.
void recall(DeviceData& d, int program) {
  ProgramRecord& record = d.program(program);
  for (int channel = 0; channel < kChannels; ++channel) {
    std::ranges::copy(recordBlock(record, Side::Input, channel),
                      d.working.block(Side::Input, channel).begin());
    std::ranges::copy(recordBlock(record, Side::Output, channel),
                      d.working.block(Side::Output, channel).begin());
  }
  std::ranges::copy(recordName(record), d.currentProgramName.begin());
  std::copy_n(recordLockPacket(record).begin(), kFunctionLockBytes, d.workingLocks.begin());
}

// The lock packet that program `value` names for reading and writing the
// device's locks; empty for a number that names none.
std::span<std::uint8_t> lockPacket(DeviceData& d, int value) {
  if (value == kWorkingState) return d.workingLocks;
  if (value == kDeviceLockSet) return d.deviceLockSet;
  if (isProgram(value)) return recordLockPacket(d.program(value));
  return {};
}

std::span<std::uint8_t> storedLockPacket(DeviceData& d, int value) {
  if (isProgram(value)) return recordLockPacket(d.program(value));
  return {};
}

void storePacket(std::span<std::uint8_t> packet, std::span<const std::uint8_t> payload) {
  if (!packet.empty() && payload.size() >= kLockPacketBytes)
    std::copy_n(payload.begin(), kLockPacketBytes, packet.begin());
}

Answer programOperation(DeviceData& d, const SendData& frame) {
  const int value = frame.value();
  switch (static_cast<ProgramOp>(frame.block())) {
    case ProgramOp::ReadLocks:
      if (isProgram(value)) recall(d, value);
      return withData(lockPacket(d, value));
    case ProgramOp::WriteLocks:
      storePacket(lockPacket(d, value), frame.payload());
      break;
    case ProgramOp::ReadStoredLocks:
      return withData(storedLockPacket(d, value));
    case ProgramOp::WriteStoredLocks:
      storePacket(storedLockPacket(d, value), frame.payload());
      break;
  }
  return acknowledge();
}

// The answer to a sound request, or nothing when this device stays silent:
// on the RS-485 bus it hears frames for other devices and the replies of
// other devices, and must answer neither.
std::optional<Answer> answerFor(DeviceData& d, const SendData& frame, bool failConnectionCheck) {
  if (frame.link() == kSerialLink && frame.at(FrameOffset::DeviceId) != d.deviceId) return std::nullopt;
  if (isReplyCode(frame.cmd())) return std::nullopt;
  switch (static_cast<FrameCode>(frame.cmd())) {
    case FrameCode::CmdRead:
      return read(d, frame, failConnectionCheck);
    case FrameCode::CmdWrite:
      return write(d, frame);
    case FrameCode::CmdProgram:
      return programOperation(d, frame);
    default:
      return acknowledge();
  }
}

// The reply frame: the request's addressing with the answer's code and
// payload; nonce, checksum and end byte are added when it is sealed.
SendData replyTo(const SendData& request, const Answer& answer) {
  SendData reply;
  std::copy_n(request.bytes.begin() + FrameOffset::Link, FrameOffset::Reserved - FrameOffset::Link,
              reply.bytes.begin() + FrameOffset::Link);
  reply.set(FrameOffset::Cmd, static_cast<std::uint8_t>(answer.code));
  reply.set(FrameOffset::Length, static_cast<std::uint8_t>(answer.payload.size()));
  std::ranges::copy(answer.payload, reply.payload().begin());
  return reply;
}

DeviceResponder::NonceSource randomNonces() {
  return [engine = std::minstd_rand(std::random_device{}())]() mutable {
    return static_cast<std::uint8_t>(engine() % kNonceRange);
  };
}

bool isNth(long count, int every) {
  return every > 0 && count % every == 0;
}

}  // namespace

DeviceResponder::DeviceResponder(DeviceState& state) : DeviceResponder(state, randomNonces()) {}

DeviceResponder::DeviceResponder(DeviceState& state, NonceSource nonces)
    : state_(state), nonces_(std::move(nonces)) {}

std::optional<DeviceResponder::Frame> DeviceResponder::respond(std::span<const std::uint8_t> request) {
  const std::optional<SendData> frame = acceptRequest(request);
  if (!frame) return std::nullopt;
  if (const RequestObserver observer = requestObserver()) observer(*frame);
  const bool failConnectionCheck = faults().failConnectionCheck;
  const std::optional<Answer> answer =
      state_.modify([&](DeviceData& d) { return answerFor(d, *frame, failConnectionCheck); });
  if (!answer) return std::nullopt;
  SendData reply = replyTo(*frame, *answer);
  return seal(reply);
}

std::optional<DeviceResponder::Frame> DeviceResponder::seal(SendData& reply) {
  std::lock_guard lock(mutex_);
  reply.finalise(nonces_());
  const long count = ++replies_;
  ++counts_.replies;
  if (isNth(count, faults_.dropEvery)) {
    ++counts_.dropped;
    return std::nullopt;
  }
  Frame wire(reply.wire().begin(), reply.wire().end());
  if (isNth(count, faults_.corruptEvery)) {
    wire[wire.size() - 2] ^= kCorruption;
    ++counts_.corrupted;
  }
  return wire;
}

void DeviceResponder::setRequestObserver(RequestObserver observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

DeviceResponder::RequestObserver DeviceResponder::requestObserver() const {
  std::lock_guard lock(mutex_);
  return observer_;
}

void DeviceResponder::setFaults(const FaultPlan& plan) {
  std::lock_guard lock(mutex_);
  faults_ = plan;
  replies_ = 0;
}

FaultPlan DeviceResponder::faults() const {
  std::lock_guard lock(mutex_);
  return faults_;
}

DeviceResponder::Counts DeviceResponder::counts() const {
  std::lock_guard lock(mutex_);
  return counts_;
}

}  // namespace orvane
