#include "transport/UsbPort.h"

#include <algorithm>

#include "model/ConnectionState.h"

namespace orvane {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The gate has no time-out of its own: only a frame, a close or the end
// opens it.
constexpr auto kUntilSignalled = std::chrono::hours(24);
// A read waits in slices this long and looks for a close or the end between
// them, so neither ever waits long for the port thread.
constexpr milliseconds kReadSlice{100};
// How long close() waits for the thread to park; a read slice or the write
// of one report ends well within it.
constexpr auto kParkWait = std::chrono::seconds(10);

}  // namespace

UsbPort::UsbPort(LinkContext context, HidBackend& backend, std::filesystem::path lockPath)
    : context_(context), backend_(backend), deviceLock_(std::move(lockPath)), thread_([this] { serve(); }) {}

UsbPort::~UsbPort() {
  shutdown();
}

bool UsbPort::open(const std::string&) {
  std::lock_guard call(callMutex_);
  failure_ = LinkFault{LinkFault::Cause::Unknown, LinkType::Usb};
  if (shutDown_ || !thread_.park(kParkWait)) return false;
  if (!deviceLock_.acquire()) {
    failure_.cause = LinkFault::Cause::UsbTaken;
    failure_.detail = deviceLock_.problem();
    return false;
  }
  if (!openDevice()) {
    deviceLock_.release();
    // A device that is listed but cannot be opened is one whose device file
    // this user may not open.
    const auto devices = backend_.enumerate();
    const bool present = std::ranges::any_of(
        devices, [](const HidDeviceInfo& device) { return device.identity == kDeviceIdentity; });
    failure_.cause = present ? LinkFault::Cause::NoUsbAccess : LinkFault::Cause::NoUsbDevice;
    return false;
  }
  resetEvents();
  exchange_ = Exchange{};
  newFrame_ = false;
  thread_.resume();
  return true;
}

LinkFault UsbPort::openFailure() const {
  std::lock_guard call(callMutex_);
  return failure_;
}

void UsbPort::close() {
  std::lock_guard call(callMutex_);
  // A thread that did not park in time keeps its park request and parks
  // when it gets to it; the device is closed under it either way, which the
  // backend allows.
  if (thread_.park(kParkWait)) resetEvents();
  closeDevice();
  deviceLock_.release();
}

void UsbPort::signalWrite() {
  newFrame_ = true;
  gate_.set();
  events_[Write].set();
}

void UsbPort::shutdown() {
  std::lock_guard call(callMutex_);
  shutDown_ = true;
  thread_.stop();
  closeDevice();
  deviceLock_.release();
}

std::string UsbPort::devicePath() const {
  std::lock_guard lock(pathMutex_);
  return devicePath_;
}

// --- thread control ---------------------------------------------------------

void UsbPort::serve() {
  const std::array<const Event*, kEventCount> events{&events_[Write], &events_[ReadStart],
                                                     &events_[ReadDone]};
  for (;;) {
    const auto signalled = thread_.wait(events, context_.timings.usbEventWait);
    if (signalled == LinkThread::kInterrupted) return;
    if (!signalled) replyMissing();
    if (signalled == Write) writeNextPiece();
    if (signalled == ReadStart) readReport();
    if (signalled == ReadDone) takeReport();
    // Between exchanges the gate is shut: wait for the next frame.
    if (thread_.wait({&gate_}, kUntilSignalled) == LinkThread::kInterrupted) return;
  }
}

void UsbPort::resetEvents() {
  for (Event& event : events_) event.reset();
  gate_.reset();
}

bool UsbPort::openDevice() {
  backend_.close();
  const std::optional<std::string> path = backend_.openFirst(kDeviceIdentity);
  if (!path) return false;
  {
    std::lock_guard lock(pathMutex_);
    devicePath_ = *path;
  }
  deviceOpen_ = true;
  return true;
}

void UsbPort::closeDevice() {
  deviceOpen_ = false;
  backend_.close();
}

// --- one exchange -------------------------------------------------------------

// Writes the next piece of the frame in flight; the write event stays set,
// so the piece after it follows. Once the last piece is out, the reply is
// read.
void UsbPort::writeNextPiece() {
  if (newFrame_.exchange(false)) exchange_ = Exchange{};
  if (!deviceOpen_) {
    events_[Write].reset();
    gate_.reset();
    return;
  }
  enum class Next { Nothing, Piece, Reply };
  HidReport report{};  // report ID 0, the rest zero-filled
  const Next next = context_.slot.withFrames([&](SendData& transmit, SendData&) {
    if (!transmit.ready) return Next::Nothing;
    if (exchange_.lastPiece) return Next::Reply;
    const std::size_t total = transmit.wireSize();
    const std::size_t offset = exchange_.offset;
    const auto from = transmit.bytes.begin() + static_cast<std::ptrdiff_t>(offset);
    if (offset + kHidReportData < total) {
      std::copy_n(from, kHidReportData, report.begin() + 1);
      exchange_.offset = offset + kHidReportData;
    } else {
      std::copy_n(from, total - offset, report.begin() + 1);
      exchange_.lastPiece = true;
    }
    return Next::Piece;
  });
  switch (next) {
    case Next::Nothing:
      events_[Write].reset();
      gate_.reset();
      return;
    case Next::Reply:
      events_[Write].reset();
      events_[ReadStart].set();
      return;
    case Next::Piece: {
      const HidStatus status = backend_.write(report);
      if (status != HidStatus::Ok) transferFailed(status);
      return;
    }
  }
}

// Reads one input report of the reply. The network module's slow
// operations get longer to answer.
void UsbPort::readReport() {
  events_[ReadStart].reset();
  events_[ReadDone].reset();
  if (!deviceOpen_) {
    gate_.reset();
    return;
  }
  const bool slowReply = context_.slot.withFrames(
      [](const SendData& transmit, const SendData&) { return transmit.replyKind != ReplyKind::None; });
  const milliseconds wait =
      context_.timings.usbEventWait + (slowReply ? context_.timings.usbLongRead : milliseconds{0});
  const auto deadline = Clock::now() + wait;
  for (;;) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    const HidReadResult got = backend_.read(input_, std::clamp(left, milliseconds{0}, kReadSlice));
    if (got.status == HidStatus::Ok) {
      inputCount_ = got.count;
      events_[ReadDone].set();
      return;
    }
    if (got.status == HidStatus::Failed || got.status == HidStatus::Gone) {
      transferFailed(got.status);
      return;
    }
    if (thread_.interrupted()) return;
    if (Clock::now() >= deadline) {
      replyMissing();
      return;
    }
  }
}

// Feeds the data bytes of the report just read to the parser. A report
// shorter than 65 bytes is fed as far as it goes.
void UsbPort::takeReport() {
  events_[ReadDone].reset();
  const std::size_t count = std::clamp<std::size_t>(inputCount_, 1, kHidReportSize);
  const auto data = std::span<const std::uint8_t>(input_).subspan(1, count - 1);
  if (!context_.slot.parse(data, context_.dispatcher)) {
    events_[ReadStart].set();
    return;
  }
  const bool bad =
      context_.slot.withFrames([](const SendData&, const SendData& receive) { return receive.rxBad; });
  if (bad) {
    resendAfterReopen();
    return;
  }
  // The worker's next frame, if it can be had at once, goes out from this
  // thread.
  if (context_.hooks.carryPass(LinkType::Usb)) return signalWrite();
  gate_.reset();
  context_.replyEvent.set();
}

void UsbPort::replyMissing() {
  const bool inFlight =
      context_.slot.withFrames([](const SendData& transmit, const SendData&) { return transmit.ready; });
  if (!inFlight) {
    gate_.reset();
    return;
  }
  if (countFailedAttempt())
    events_[Write].set();
  else
    giveUp();
}

// Only a device that is gone ends the link at once; a transfer that failed
// while the device is still there is one failed attempt at the frame.
void UsbPort::transferFailed(HidStatus status) {
  if (status == HidStatus::Gone)
    deviceGone();
  else
    resendAfterReopen();
}

// A corrupt reply or a failed transfer may come from a device that lost
// track of the link, so it is opened afresh before the frame goes again.
void UsbPort::resendAfterReopen() {
  if (!countFailedAttempt()) {
    giveUp();
    return;
  }
  if (openDevice())
    events_[Write].set();
  else
    deviceGone();
}

bool UsbPort::countFailedAttempt() {
  context_.slot.clear(false);
  exchange_.offset = 0;
  exchange_.lastPiece = false;
  return ++exchange_.attempts < context_.timings.usbAttempts;
}

// The device was unplugged or stopped answering. Reported once: after
// that the port stays quiet until it is closed.
void UsbPort::deviceGone() {
  const bool wasOpen = deviceOpen_.exchange(false);
  backend_.close();
  if (wasOpen) {
    giveUp();
    return;
  }
  events_[Write].reset();
  gate_.reset();
}

// Retires the frame in flight, releases the worker from its wait and tells
// the main window the link is lost.
void UsbPort::giveUp() {
  context_.slot.clear(true);
  for (PortEvent e : {Write, ReadStart, ReadDone}) events_[e].reset();
  gate_.reset();
  context_.notifier.post(Message::LinkLost, static_cast<std::intptr_t>(LinkType::Usb), 0);
  context_.replyEvent.set();
}

}  // namespace orvane
