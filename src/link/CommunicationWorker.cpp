#include "link/CommunicationWorker.h"

#include <chrono>

namespace orvane {

namespace {

constexpr int kLevelItem = 3;
// The longest park() waits: a pass between its waits only builds or takes
// one frame.
constexpr std::chrono::seconds kParkWait{5};

std::size_t indexOf(WorkerEvent e) {
  return static_cast<std::size_t>(e);
}

}  // namespace

CommunicationWorker::CommunicationWorker(WorkerContext context)
    : ctx_(context), thread_([this] { serve(); }) {}

CommunicationWorker::~CommunicationWorker() {
  stop();
}

void CommunicationWorker::resume() {
  thread_.resume();
}

void CommunicationWorker::park() {
  thread_.park(kParkWait);
}

void CommunicationWorker::stop() {
  thread_.stop();
}

LinkType CommunicationWorker::currentLink() const {
  return ctx_.image.read([](const ImageData& d) { return d.connection.linkType; });
}

void CommunicationWorker::serve() {
  while (pass()) {
  }
}

bool CommunicationWorker::pass() {
  std::unique_lock lock(ctx_.lock);
  const auto signalled = thread_.wait(ctx_.events.all(), ctx_.timings.workerEventWait);
  if (signalled == LinkThread::kInterrupted) return false;
  const LinkType link = currentLink();
  takeTurn(signalled, link);
  const bool written = signalTransport(link);
  lock.unlock();
  return !written || awaitReply();
}

// What one pass puts into the transmit frame for the event `signalled`.
void CommunicationWorker::takeTurn(std::optional<std::size_t> signalled, LinkType link) {
  if (signalled == indexOf(WorkerEvent::QueueNotEmpty)) serveQueue(link, true);
  if (signalled == indexOf(WorkerEvent::Run)) idlePass(link);
}

bool CommunicationWorker::awaitReply() {
  for (;;) {
    const std::uint64_t carried = carried_.load();
    const auto signalled = thread_.wait({&ctx_.replyEvent}, ctx_.timings.workerReplyWait);
    if (signalled == LinkThread::kInterrupted) {
      handedOver_ = false;
      return false;
    }
    if (signalled || carried_.load() == carried) return true;
  }
}

bool CommunicationWorker::carryPass(LinkType link) {
  if (!handedOver_.load()) return false;
  std::unique_lock lock(ctx_.lock, std::try_to_lock);
  const std::optional<std::size_t> signalled = waitAny(ctx_.events.all(), std::chrono::milliseconds(0));
  const bool mine = lock.owns_lock() && !thread_.interrupted() && !thread_.parked() && signalled &&
                    signalled != indexOf(WorkerEvent::Wake) && currentLink() == link;
  if (mine) takeTurn(signalled, link);
  if (!mine || !transmitReady(link)) {
    handedOver_ = false;
    return false;
  }
  ++carried_;
  return true;
}

void CommunicationWorker::serveQueue(LinkType link, bool updateProgress) {
  if (ctx_.queue.isEmpty() || link == LinkType::None) {
    if (ctx_.queue.isEmpty()) ctx_.events[WorkerEvent::QueueNotEmpty].reset();
    return;
  }
  SendData taken;
  ctx_.linkSlots[linkIndex(link)].withFrames([&](SendData& transmit, SendData&) {
    ctx_.queue.takeNext(transmit);
    taken = transmit;
  });
  // From here on only the check's answer is taken: the exchange before it
  // is over.
  if (taken.startsConnectionCheck) ctx_.connectionCheck.start();
  if (!updateProgress || !taken.showProgress) return;
  if (link == LinkType::Serial && taken.idProbe) {
    ctx_.notifier.setIdSearchProgress(taken.progressPos);
    return;
  }
  ctx_.notifier.setProgress(taken.progressPos);
  if (taken.lastOfTransfer) ctx_.notifier.setTransferInProgress(false);
}

void CommunicationWorker::idlePass(LinkType link) {
  if (link == LinkType::None) return;
  if (!ctx_.queue.isEmpty()) {
    // Frames queued after their wake-up was taken back (the end of a read
    // resets it) would otherwise wait for the next operation to wake them.
    if (ctx_.idleQueueService.load())
      serveQueue(link, false);
    else
      ctx_.events[WorkerEvent::QueueNotEmpty].set();
    return;
  }
  if (syncNextRow(link)) return;
  buildLevelPoll(link);
}

// Builds the write of the first changed row, inputs before outputs, straight
// into the transmit frame. Both sides are compared in one look at the image:
// with a look at each, edits made between the two could send an output row
// ahead of an input row the user changed before it.
bool CommunicationWorker::syncNextRow(LinkType link) {
  const std::optional<RowWrite> row = ctx_.image.takeNextChangedRow();
  if (!row) return false;
  const int block = row->side == Side::Input ? BlockCode::Input : BlockCode::Output;
  const FrameHeader h = ctx_.builders.header(link, FrameCode::CmdWrite, 0, block, row->channel, row->row);
  ctx_.linkSlots[linkIndex(link)].withFrames([&](SendData& transmit, SendData&) {
    transmit.clearFrom(FrameOffset::Cmd);
    ctx_.frames.fill(transmit, h, row->bytes);
  });
  return true;
}

void CommunicationWorker::buildLevelPoll(LinkType link) {
  LinkSlot& slot = ctx_.linkSlots[linkIndex(link)];
  slot.clear(true);
  const FrameHeader h = ctx_.builders.header(link, FrameCode::CmdRead, 0, BlockCode::System, kLevelItem);
  const std::array<std::uint8_t, FrameBuilder::kDefaultLength> zeros{};
  slot.withFrames([&](SendData& transmit, SendData&) { ctx_.frames.fill(transmit, h, zeros); });
  ++levelPolls_;
}

bool CommunicationWorker::transmitReady(LinkType link) {
  return link != LinkType::None &&
         ctx_.linkSlots[linkIndex(link)].withFrames(
             [](const SendData& transmit, const SendData&) { return transmit.ready; });
}

bool CommunicationWorker::signalTransport(LinkType link) {
  Transport* transport = link == LinkType::None ? nullptr : ctx_.transports[linkIndex(link)].get();
  if (!transmitReady(link) || !transport) return false;
  ctx_.replyEvent.reset();
  // Before the frame goes: its reply may be taken at once.
  handedOver_ = true;
  transport->signalWrite();
  return true;
}

}  // namespace orvane
