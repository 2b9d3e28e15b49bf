// Arbitrary complete replies dispatched into an image, one after another,
// against a request in flight and with the image's reply flags chosen by the
// input. A refused reply changes nothing; an accepted one keeps every value
// of the image within its range.

#include <array>

#include "FuzzBytes.h"
#include "ImageChecks.h"
#include "NullNotifier.h"
#include "protocol/ReplyDispatcher.h"
#include "protocol/SystemItem.h"

using namespace orvane;
using namespace orvane::fuzz;

namespace {

constexpr std::size_t kHeaderBytes = FrameOffset::Length - FrameOffset::Cmd;

// The reply codes and addresses a device sends, so that most inputs reach
// the stores; any other byte is taken as it is.
std::uint8_t steer(std::uint8_t raw, std::span<const std::uint8_t> likely) {
  return raw < 0x80 ? likely[raw % likely.size()] : raw;
}

SendData replyFrom(FuzzBytes& in, ReplyKind kind) {
  static constexpr std::array<std::uint8_t, 3> kCodes{0x53, 0x51, 0x52};
  static constexpr std::array<std::uint8_t, 5> kBlocks{BlockCode::Input, BlockCode::Output, BlockCode::System,
                                                       0xA1, 0xB1};
  static constexpr std::array<std::uint8_t, 10> kItems{SystemItem::ProgramName,     SystemItem::Levels,
                                                       SystemItem::FirmwareVersion, SystemItem::DeviceId,
                                                       SystemItem::StartupProgram,  SystemItem::NetworkName,
                                                       SystemItem::SetupBlock,      SystemItem::ExtendedBlock,
                                                       SystemItem::ConnectionCheck, 5};
  SendData r;
  const auto header = in.take(kHeaderBytes);
  std::copy(header.begin(), header.end(), r.bytes.begin() + FrameOffset::Cmd);
  r.bytes[FrameOffset::Cmd] = steer(r.bytes[FrameOffset::Cmd], kCodes);
  r.bytes[FrameOffset::Block] = steer(r.bytes[FrameOffset::Block], kBlocks);
  r.bytes[FrameOffset::Item] = steer(r.bytes[FrameOffset::Item], kItems);
  const auto payload = in.take(in.byte());
  r.bytes[FrameOffset::Length] = static_cast<std::uint8_t>(payload.size());
  std::copy(payload.begin(), payload.end(), r.bytes.begin() + FrameOffset::Payload);
  const std::uint8_t damage = in.byte();
  r.checksum = r.computeChecksum() ^ (damage < 0xF0 ? 0 : damage);
  r.endByte = damage == 0xEF ? 0 : kEndByte;
  r.rxSynced = true;
  r.rxCount = static_cast<int>(r.wireSize());
  r.replyKind = kind;
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes in(data, size);
  static constexpr std::array<FrameCode, 3> kCommands{FrameCode::CmdRead, FrameCode::CmdWrite,
                                                      FrameCode::CmdProgram};
  SendData inFlight;
  inFlight.bytes[FrameOffset::Cmd] = static_cast<std::uint8_t>(kCommands[in.pick(kCommands.size())]);
  inFlight.lastOfTransfer = in.flag();
  const auto kind = static_cast<ReplyKind>(in.pick(4));
  const bool checkPending = in.flag();

  ParameterImage image;
  ConnectionCheck check;
  if (checkPending) check.start();
  LevelRequest levels;
  NullNotifier notifier;
  WorkerEvents events;
  ReplyDispatcher dispatcher(image, notifier, events, levels, check, std::chrono::milliseconds{0});

  while (!in.empty()) {
    levels.request();
    const SendData reply = replyFrom(in, kind);
    const std::vector<std::uint8_t> before = imagePicture(image);
    const bool accepted = dispatcher.dispatch(reply, inFlight);
    if (!accepted) require(imagePicture(image) == before, "a refused reply changed the image");
    checkImageInvariants(image);
  }
  return 0;
}
