// Arbitrary bytes arriving on a link, fed to the link slot's frame parser
// the way each link hands them over: the serial port byte by byte, USB in
// the 64 data bytes of each 65-byte input report, the network in chunks of
// whatever size a read returned. Completed frames are dispatched into an
// image. The receive frame never holds more than the frame it announces.

#include <array>

#include "FuzzBytes.h"
#include "ImageChecks.h"
#include "NullNotifier.h"
#include "protocol/FrameBuilder.h"
#include "protocol/LinkSlot.h"
#include "protocol/ReplyDispatcher.h"
#include "protocol/SystemItem.h"

using namespace orvane;
using namespace orvane::fuzz;

namespace {

enum class LinkKind { Serial, Usb, Network };

constexpr std::size_t kUsbDataBytes = 64;
constexpr std::size_t kHeaderEnd = FrameOffset::Payload;

// What a request in flight may be: a read of a block, a write, a system item.
FrameHeader requestFor(FuzzBytes& in) {
  static constexpr std::array<FrameCode, 3> kCommands{FrameCode::CmdRead, FrameCode::CmdWrite,
                                                      FrameCode::CmdProgram};
  FrameHeader h;
  h.cmd = kCommands[in.pick(kCommands.size())];
  h.block = static_cast<std::uint8_t>(1 + in.pick(3));
  h.item = static_cast<std::uint8_t>(in.pick(kChannels));
  h.value = in.byte();
  return h;
}

void checkReceiveFrame(LinkSlot& slot) {
  slot.withFrames([](const SendData&, const SendData& rx) {
    require(rx.rxCount >= 0 && static_cast<std::size_t>(rx.rxCount) <= kMaxFrameSize,
            "receive count beyond the largest frame");
    if (!rx.rxSynced) {
      require(rx.rxCount < 3, "unsynced receive frame holds more than the sync bytes");
      return 0;
    }
    if (static_cast<std::size_t>(rx.rxCount) > kHeaderEnd)
      require(static_cast<std::size_t>(rx.rxCount) <= rx.wireSize(),
              "receive frame longer than it announces");
    return 0;
  });
}

// A new exchange: the request goes into the transmit frame and the receive
// frame starts empty, as every link does when it writes a frame.
void startExchange(LinkSlot& slot, const FrameBuilder& builder, const FrameHeader& request) {
  slot.withFrames([&](SendData& tx, SendData& rx) {
    builder.fill(tx, request, {});
    rx.clearFrom(0);
    return 0;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzBytes in(data, size);
  const auto kind = static_cast<LinkKind>(in.pick(3));
  const std::size_t netChunk = 1 + in.byte();
  const FrameHeader request = requestFor(in);
  const bool checkPending = in.flag();

  ParameterImage image;
  ConnectionCheck check;
  if (checkPending) check.start();
  LevelRequest levels;
  levels.request();
  NullNotifier notifier;
  WorkerEvents events;
  ReplyDispatcher dispatcher(image, notifier, events, levels, check, std::chrono::milliseconds{0});
  NonceSource nonces(1);
  FrameBuilder builder(nonces);
  LinkSlot slot;
  startExchange(slot, builder, request);

  const std::span<const std::uint8_t> stream = in.rest();
  const std::size_t piece = kind == LinkKind::Serial ? 1 : kind == LinkKind::Usb ? kUsbDataBytes : netChunk;
  for (std::size_t at = 0; at < stream.size(); at += piece) {
    const auto chunk = stream.subspan(at, std::min(piece, stream.size() - at));
    const bool completed = slot.parse(chunk, dispatcher);
    checkReceiveFrame(slot);
    if (!completed) continue;
    checkImageInvariants(image);
    const bool bad = slot.withFrames([](const SendData&, const SendData& rx) {
      if (rx.rxBad) require(static_cast<std::size_t>(rx.rxCount) == rx.wireSize(), "bad frame cut short");
      return rx.rxBad;
    });
    // A bad reply is asked for again with the same request; a good one ends
    // the exchange and the next request follows.
    if (bad) slot.clear(false);
    startExchange(slot, builder, request);
  }
  return 0;
}
