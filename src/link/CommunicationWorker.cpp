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
  idleFrameOut_ = false;
  if (signalled == indexOf(WorkerEvent::QueueNotEmpty)) serveQueue(link, true);
  if (signalled == indexOf(WorkerEvent::Run)) idlePass(link);
  const bool written = signalTransport(link);
  lock.unlock();
  return !written || awaitReply();
}

bool CommunicationWorker::awaitReply() {
  for (;;) {
    const std::uint64_t carried = carried_.load();
    const auto signalled = thread_.wait({&ctx_.replyEvent}, ctx_.timings.workerReplyWait);
    if (signalled == LinkThread::kInterrupted) return false;
    if (signalled || carried_.load() == carried) return true;
  }
}

bool CommunicationWorker::carryIdlePass(LinkType link) {
  if (!idleFrameOut_.load()) return false;
  std::unique_lock lock(ctx_.lock, std::try_to_lock);
  if (!lock.owns_lock() || !onlyIdleWorkLeft() || currentLink() != link || !ctx_.queue.isEmpty()) {
    idleFrameOut_ = false;
    return false;
  }
  buildIdleFrame(link);
  ++carried_;
  return true;
}

// Nothing but the idle pass would wake the worker now.
bool CommunicationWorker::onlyIdleWorkLeft() const {
  return !thread_.interrupted() && !ctx_.events[WorkerEvent::Wake].isSet() &&
         !ctx_.events[WorkerEvent::QueueNotEmpty].isSet() && ctx_.events[WorkerEvent::Run].isSet();
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
  buildIdleFrame(link);
  idleFrameOut_ = true;
}

void CommunicationWorker::buildIdleFrame(LinkType link) {
  if (!syncNextRow(link)) buildLevelPoll(link);
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

bool CommunicationWorker::signalTransport(LinkType link) {
  if (link == LinkType::None) return false;
  const bool ready = ctx_.linkSlots[linkIndex(link)].withFrames(
      [](const SendData& transmit, const SendData&) { return transmit.ready; });
  Transport* transport = ctx_.transports[linkIndex(link)].get();
  if (!ready || !transport) return false;
  ctx_.replyEvent.reset();
  transport->signalWrite();
  return true;
}

}  // namespace orvane
