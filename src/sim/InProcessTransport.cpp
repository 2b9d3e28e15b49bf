#include "sim/InProcessTransport.h"

#include <chrono>

namespace orvane {

namespace {

// The thread needs no wake-up of its own: it waits for its events only.
constexpr std::chrono::hours kIdleWait{1};
// An exchange asks the device in the process: the thread parks at once.
constexpr std::chrono::seconds kParkWait{5};

}  // namespace

InProcessTransport::InProcessTransport(LinkContext context, DeviceResponder& device, LinkType link)
    : context_(context), device_(device), link_(link), thread_([this] { serve(); }) {}

InProcessTransport::~InProcessTransport() {
  shutdown();
}

bool InProcessTransport::open(const std::string&) {
  write_.reset();
  thread_.resume();
  return true;
}

void InProcessTransport::close() {
  thread_.park(kParkWait);
}

void InProcessTransport::signalWrite() {
  write_.set();
}

void InProcessTransport::shutdown() {
  thread_.stop();
}

void InProcessTransport::serve() {
  for (;;) {
    const auto signalled = thread_.wait({&write_}, kIdleWait);
    if (signalled == LinkThread::kInterrupted) return;
    if (!signalled) continue;
    write_.reset();
    exchange();
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
