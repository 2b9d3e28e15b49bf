#include "sim/InProcessTransport.h"

#include <chrono>

namespace orvane {

namespace {

// The thread needs no wake-up of its own: it waits for its events only.
constexpr std::chrono::hours kIdleWait{1};
constexpr std::size_t kStopIndex = 0;

}  // namespace

InProcessTransport::InProcessTransport(LinkContext context, DeviceResponder& device, LinkType link)
    : context_(context), device_(device), link_(link), thread_([this] { run(); }) {}

InProcessTransport::~InProcessTransport() {
  shutdown();
}

bool InProcessTransport::open(const std::string&) {
  open_.store(true);
  return true;
}

void InProcessTransport::close() {
  open_.store(false);
}

void InProcessTransport::signalWrite() {
  write_.set();
}

void InProcessTransport::shutdown() {
  stop_.set();
  if (thread_.joinable()) thread_.join();
}

void InProcessTransport::run() {
  for (;;) {
    const auto signalled = waitAny({&stop_, &write_}, kIdleWait);
    if (!signalled) continue;
    if (*signalled == kStopIndex) return;
    write_.reset();
    if (open_.load()) exchange();
  }
}

// One exchange: up to three attempts to get a good reply to the frame in
// flight, then the link is given up.
void InProcessTransport::exchange() {
  const std::optional<Outgoing> frame = frameInFlight();
  if (!frame) return;
  for (int n = 0; n < kAttempts; ++n) {
    if (attempt(*frame)) {
      context_.replyEvent.set();
      return;
    }
    context_.slot.clear(false);
  }
  giveUp(frame->replyKind);
}

std::optional<InProcessTransport::Outgoing> InProcessTransport::frameInFlight() {
  return context_.slot.withFrames([](const SendData& transmit, const SendData&) -> std::optional<Outgoing> {
    if (!transmit.ready) return std::nullopt;
    return Outgoing{std::vector<std::uint8_t>(transmit.wire().begin(), transmit.wire().end()),
                    transmit.replyKind};
  });
}

// Sends the frame once; true when the reply completed and was accepted.
bool InProcessTransport::attempt(const Outgoing& frame) {
  const auto reply = device_.respond(frame.wire);
  if (!reply) return false;
  const bool completed = context_.slot.parse(*reply, context_.dispatcher);
  const bool bad =
      context_.slot.withFrames([](const SendData&, const SendData& receive) { return receive.rxBad; });
  return completed && !bad;
}

void InProcessTransport::giveUp(ReplyKind replyKind) {
  context_.slot.clear(true);
  context_.notifier.post(Message::LinkLost, static_cast<std::intptr_t>(link_),
                         static_cast<std::intptr_t>(replyKind));
  context_.replyEvent.set();
}

}  // namespace orvane
