#include "protocol/ReplyDispatcher.h"

#include <algorithm>

#include "protocol/LockPacket.h"
#include "protocol/ReplyKinds.h"
#include "protocol/SystemItem.h"

namespace orvane {

namespace {

constexpr int kLastProgram = 30;

// Copies as much of `from` as fits into `to`; the rest of `to` is left as is.
void copyBounded(std::span<const std::uint8_t> from, std::span<std::uint8_t> to) {
  std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

// A name field gets the reply's bytes and zeros after them.
void copyName(std::span<const std::uint8_t> from, std::span<std::uint8_t> to) {
  std::fill(to.begin(), to.end(), std::uint8_t{0});
  copyBounded(from, to);
}

bool isProgram(int value) {
  return value >= 1 && value <= kLastProgram;
}

ProgramRecord& programRecord(ImageData& d, int value) {
  return d.programs[static_cast<std::size_t>(value - 1)];
}

}  // namespace

ReplyDispatcher::ReplyDispatcher(ParameterImage& image, Notifier& notifier, WorkerEvents& events,
                                 LevelRequest& levels, ConnectionCheck& check,
                                 std::chrono::milliseconds levelRefresh)
    : image_(image),
      notifier_(notifier),
      events_(events),
      levels_(levels),
      check_(check),
      levelRefresh_(levelRefresh) {}

bool ReplyDispatcher::dispatch(const SendData& reply, const SendData& inFlight) {
  if (reply.endByte != kEndByte) return false;
  bool decided = false;
  const bool checkAccepted = passesConnectionCheck(reply, decided);
  if (decided) return checkAccepted;
  if (reply.computeChecksum() != reply.checksum) return false;

  switch (static_cast<FrameCode>(reply.cmd())) {
    case FrameCode::ReplyQ:
      if (restartsNetworkModule(reply.replyKind))
        notifier_.post(Message::NetworkOperationDone, reply.link(),
                       static_cast<std::intptr_t>(reply.replyKind));
      return true;
    case FrameCode::ReplyR:
      if (reply.replyKind != ReplyKind::NetworkNameRead) return false;
      image_.modify([](ImageData& d) { d.system.networkName.clear(); });
      return true;
    case FrameCode::ReplyData:
      return dispatchData(reply, inFlight);
    default:
      return true;
  }
}

// While a new connection awaits its check, only the check's answer counts
// (its checksum is not looked at); any other system-item reply is refused.
bool ReplyDispatcher::passesConnectionCheck(const SendData& reply, bool& decided) {
  decided = check_.pending() && reply.cmd() == static_cast<std::uint8_t>(FrameCode::ReplyData) &&
            reply.block() == BlockCode::System;
  if (!decided) return false;
  const bool answer = reply.item() == SystemItem::ConnectionCheck && reply.length() == 1;
  const bool present = answer && reply.payload()[0] == 0;
  if (present) check_.pass();
  if (answer && !present) check_.refuse();
  return present;
}

bool ReplyDispatcher::dispatchData(const SendData& reply, const SendData& inFlight) {
  switch (reply.block()) {
    case BlockCode::Input:
    case BlockCode::Output:
      storeChannelData(reply, inFlight);
      break;
    case BlockCode::System:
      // The answer to a written item only acknowledges it: taken as data,
      // its empty payload would wipe the name just stored.
      if (inFlight.cmd() != static_cast<std::uint8_t>(FrameCode::CmdWrite)) storeSystemItem(reply);
      break;
    case static_cast<std::uint8_t>(ProgramOp::ReadLocks):
      storeLockPacket(reply);
      break;
    case static_cast<std::uint8_t>(ProgramOp::ReadStoredLocks):
      storeStoredLockPacket(reply);
      break;
    default:
      break;
  }
  return true;
}

void ReplyDispatcher::storeChannelData(const SendData& reply, const SendData& inFlight) {
  const Side side = reply.block() == BlockCode::Input ? Side::Input : Side::Output;
  const int channel = reply.item();
  const int program = reply.value();
  const bool toProgramStore = reply.row() == kProgramStoreRow;
  if (channel < kChannels) {
    image_.modify([&](ImageData& d) {
      if (!toProgramStore)
        copyBounded(reply.payload(), d.device.block(side, channel));
      else if (isProgram(program))
        copyBounded(reply.payload(), recordBlock(programRecord(d, program), side, channel));
    });
  }
  // Only a read ends with blocks to take over. The acknowledgement of the
  // last block a store sends carries none: restoring the edited image then
  // would throw away edits the worker has not yet written to the device.
  const bool endOfRead =
      inFlight.lastOfTransfer && inFlight.cmd() == static_cast<std::uint8_t>(FrameCode::CmdRead);
  if (side != Side::Output || !endOfRead) return;
  if (toProgramStore) {
    notifier_.post(Message::AllProgramsRead, reply.link(), 0);
    return;
  }
  image_.restoreFromDeviceCopy();
  // Reset before the announcement: an operation queued in answer to it
  // must find its wake-up still set.
  events_[WorkerEvent::QueueNotEmpty].reset();
  notifier_.post(Message::ChannelDataRead, reply.link(), 0);
}

void ReplyDispatcher::storeSystemItem(const SendData& reply) {
  const auto payload = reply.payload();
  const int value = reply.value();
  bool levelsStored = false;
  bool firmwareStored = false;
  bool idSearchEnded = false;
  image_.modify([&](ImageData& d) {
    switch (reply.item()) {
      case SystemItem::ProgramName:
        if (value == 0)
          copyName(payload, d.currentProgramName);
        else if (isProgram(value))
          copyName(payload, recordName(programRecord(d, value)));
        break;
      case SystemItem::Levels:
        if (!levels_.requested() || !levelsWorthShowing(d.status, payload)) break;
        copyBounded(payload, d.status.inputLevels);
        if (payload.size() > 8) copyBounded(payload.subspan(8), d.status.outputLevels);
        levelsStored = levels_.take();
        break;
      case SystemItem::FirmwareVersion:
        copyName(payload, d.status.firmwareVersion);
        firmwareStored = true;
        break;
      case SystemItem::DeviceId:
        if (!payload.empty() && payload[0] >= 1 && payload[0] <= ConnectionState::kMaxDeviceId) {
          d.connection.idTable[payload[0] - 1u] = payload[0];
          idSearchEnded = payload[0] == ConnectionState::kMaxDeviceId;
        }
        break;
      case SystemItem::StartupProgram:
        if (!payload.empty()) d.system.startupProgram = std::min<std::uint8_t>(payload[0], kLastProgram);
        break;
      case SystemItem::NetworkName:
        d.system.networkName.assign(payload.begin(), payload.end());
        break;
      case SystemItem::SetupBlock:
        copyBounded(payload, d.system.setup);
        break;
      case SystemItem::ExtendedBlock:
        copyBounded(payload, d.system.extended);
        d.status.cameraSaveEnabled = false;
        d.status.cameraLoadEnabled = true;
        break;
      default:
        break;
    }
  });
  if (levelsStored) notifier_.post(Message::LevelsRead, reply.link(), 0);
  if (firmwareStored) notifier_.post(Message::FirmwareVersionRead, 0, 0);
  if (idSearchEnded) notifier_.post(Message::LinkLost, reply.link(), 0);
}

// Called with the image locked. New levels always; the levels shown already
// once in a while, so meters that were cleared meanwhile show them again.
bool ReplyDispatcher::levelsWorthShowing(const DeviceStatus& status, std::span<const std::uint8_t> levels) {
  const auto now = std::chrono::steady_clock::now();
  const bool shown = levels.size() >= status.inputLevels.size() + status.outputLevels.size() &&
                     std::equal(status.inputLevels.begin(), status.inputLevels.end(), levels.begin()) &&
                     std::equal(status.outputLevels.begin(), status.outputLevels.end(),
                                levels.begin() + static_cast<std::ptrdiff_t>(status.inputLevels.size()));
  if (shown && now - levelsAnnounced_ < levelRefresh_) return false;
  levelsAnnounced_ = now;
  return true;
}

void ReplyDispatcher::storeLockPacket(const SendData& reply) {
  if (reply.length() < 12) return;
  const std::span<const std::uint8_t, 12> packet(reply.payload().data(), 12);
  image_.modify([&](ImageData& d) { LockPacket::apply(packet, reply.value(), d.locks); });
}

void ReplyDispatcher::storeStoredLockPacket(const SendData& reply) {
  if (reply.length() < 12 || !isProgram(reply.value())) return;
  image_.modify([&](ImageData& d) {
    copyBounded(reply.payload().first(12), recordLockPacket(programRecord(d, reply.value())));
  });
}

}  // namespace orvane
