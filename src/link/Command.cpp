#include "link/Command.h"

#include "model/CameraSteering.h"

namespace orvane {

namespace {

constexpr int kLastProgram = 30;
constexpr int kWorkingState = 0;
constexpr int kDeviceLockSet = 31;
constexpr int kMuteRow = CommonField::Mute.row();

}  // namespace

Command::Command(ParameterImage& image, Notifier& notifier, Timings timings)
    : image_(image),
      notifier_(notifier),
      timings_(timings),
      dispatcher_(image, notifier, events_, levelRequest_, connectionCheck_),
      builders_(image, queue_, frames_),
      worker_(WorkerContext{image, notifier, queue_, slots_, transports_, events_, replyEvent_, lock_,
                            builders_, frames_, timings_, connectionCheck_, idleQueueService_}) {}

Command::~Command() {
  Shutdown();
}

LinkContext Command::linkContext(LinkType link) {
  return LinkContext{slots_[linkIndex(link)], dispatcher_, replyEvent_, notifier_, timings_, hooks_};
}

void Command::attachTransport(LinkType link, std::unique_ptr<Transport> transport) {
  transports_[linkIndex(link)] = std::move(transport);
}

LinkType Command::linkType() const {
  return image_.read([](const ImageData& d) { return d.connection.linkType; });
}

bool Command::OpenLink(LinkType link, const std::string& address) {
  std::lock_guard lock(lock_);
  replyEvent_.reset();
  queue_.removeAll();
  Transport* transport = transports_[linkIndex(link)].get();
  const bool opened = transport && transport->open(address);
  if (opened) {
    image_.takeDeviceSnapshot();
    worker_.resume();
    events_[WorkerEvent::Run].set();
  }
  image_.modify([](ImageData& d) {
    d.status.cameraSaveEnabled = true;
    d.status.cameraLoadEnabled = true;
  });
  return opened;
}

LinkFault Command::openFailure(LinkType link) const {
  const Transport* transport = transports_[linkIndex(link)].get();
  return transport ? transport->openFailure() : LinkFault{LinkFault::Cause::Unknown, link};
}

bool Command::closedByPeer(LinkType link) const {
  const Transport* transport = transports_[linkIndex(link)].get();
  return transport && transport->closedByPeer();
}

void Command::CloseLink(LinkType link) {
  worker_.park();
  for (WorkerEvent e : {WorkerEvent::Wake, WorkerEvent::QueueNotEmpty, WorkerEvent::Run}) events_[e].reset();
  queue_.removeAll();
  if (link != LinkType::None) {
    if (Transport* transport = transports_[linkIndex(link)].get()) transport->close();
    slots_[linkIndex(link)].clear(true);
  }
  levelRequest_.withdraw();
  connectionCheck_.cancel();
}

void Command::Shutdown() {
  worker_.stop();
  for (auto& transport : transports_)
    if (transport) transport->shutdown();
}

void Command::WakeWorker() {
  events_[WorkerEvent::QueueNotEmpty].set();
}

void Command::ReadDeviceSettings() {
  std::lock_guard lock(lock_);
  const LinkType link = linkType();
  auto check = frames_.make(
      builders_.header(link, FrameCode::CmdRead, 0, BlockCode::System, SystemItem::ConnectionCheck));
  check->startsConnectionCheck = true;
  queue_.append(std::move(check));
  builders_.RequestSystemItem(link, 0, SystemItem::FirmwareVersion);
  builders_.RequestSystemItem(link, 0, SystemItem::NetworkName);
  for (int program = 0; program <= kLastProgram; ++program)
    builders_.RequestSystemItem(link, program, SystemItem::ProgramName);
  builders_.RequestSystemItem(link, 0, SystemItem::StartupProgram);
  builders_.RequestSystemItem(link, 0, SystemItem::SetupBlock);
  builders_.RequestSystemItem(link, 0, SystemItem::ExtendedBlock);
}

// Builds frames for the open link under the protocol lock; nothing without
// a link. `wake` sets the queue-not-empty event afterwards.
template <class Build>
bool Command::withOpenLink(Build&& build, bool wake) {
  const LinkType link = linkType();
  if (link == LinkType::None) return false;
  {
    std::lock_guard lock(lock_);
    build(link);
  }
  if (wake) WakeWorker();
  return true;
}

// A transfer that drives the progress bar: its frames count their progress
// positions from 0.
template <class Build>
bool Command::transfer(Build&& build) {
  int counter = 0;
  return withOpenLink(
      [&](LinkType link) {
        build(link, counter);
        beginTransfer(counter);
      },
      true);
}

bool Command::SendSystemItem(int value, int item) {
  switch (item) {
    case SystemItem::ProgramName:
    case SystemItem::StartupProgram:
    case SystemItem::NetworkFactoryReset:
    case SystemItem::NetworkName:
    case SystemItem::SetupBlock:
    case SystemItem::ExtendedBlock:
      return withOpenLink(
          [&](LinkType link) {
            if (item == SystemItem::SetupBlock && setupPacker_) setupPacker_();
            builders_.SendSystemItemFrame(link, value, item);
          },
          true);
    default:
      return linkType() != LinkType::None;
  }
}

bool Command::SendSystemItem52() {
  return withOpenLink(
      [&](LinkType link) {
        if (setupPacker_) setupPacker_();
        builders_.SendSystemItemFrame(link, 0, SystemItem::SetupBlock);
      },
      false);
}

bool Command::SendSystemItem53() {
  return withOpenLink(
      [&](LinkType link) { builders_.SendSystemItemFrame(link, 0, SystemItem::ExtendedBlock); }, false);
}

bool Command::SendPresetData(int kind) {
  return withOpenLink(
      [&](LinkType link) {
        const CameraProtocol protocol = image_.read([](const ImageData& d) {
          return CameraSteering::protocolOf(d.system.extended[ExtendedOffset::Protocol]);
        });
        for (int number : CameraSteering::messagesToSend(protocol, kind)) {
          if (protocol == CameraProtocol::PelcoD)
            builders_.SendPresetRow(link, number);
          else
            builders_.SendPresetRowEx(link, number);
        }
      },
      false);
}

bool Command::SendProgramName(int program) {
  return withOpenLink(
      [&](LinkType link) {
        builders_.SendSystemItemFrame(link, program, SystemItem::ProgramName);
        builders_.SendProgramOp(link, ProgramOp::WriteLocks, program, false);
      },
      true);
}

bool Command::SendProgramCommand(ProgramOp op, int program, bool withData) {
  return withOpenLink([&](LinkType link) { builders_.SendProgramOp(link, op, program, withData); }, true);
}

bool Command::SendDeviceIdCommand(FrameCode op, int id) {
  if (op != FrameCode::CmdWrite) return StartIdSearch();
  return withOpenLink([&](LinkType link) { builders_.SendDeviceId(link, FrameCode::CmdWrite, id); }, true);
}

bool Command::StartIdSearch() {
  if (linkType() != LinkType::Serial) return false;
  {
    std::lock_guard lock(lock_);
    image_.modify([](ImageData& d) { d.connection.idTable.fill(0); });
    for (int id = 1; id <= ConnectionState::kMaxDeviceId; ++id)
      builders_.SendDeviceId(LinkType::Serial, FrameCode::CmdRead, id);
  }
  WakeWorker();
  return true;
}

void Command::sendMuteRows(LinkType link) {
  for (int channel = 0; channel < kChannels; ++channel) builders_.SendInputRow(link, channel, kMuteRow);
  for (int channel = 0; channel < kChannels; ++channel) builders_.SendOutputRow(link, channel, kMuteRow);
}

// Program 0 is stored with every channel muted: mute rows out, the whole
// state, then the mute rows back as the device copy holds them.
void Command::storeWorkingState(LinkType link, int& counter) {
  builders_.SendProgramOp(link, ProgramOp::WriteLocks, kDeviceLockSet, true);
  for (Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      image_.setField(side, channel, CommonField::Mute, 0);
  sendMuteRows(link);
  builders_.SendAllBlocks(link, kWorkingState, counter, 0);
  for (Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel)
      image_.setField(side, channel, CommonField::Mute,
                      image_.field(side, channel, CommonField::Mute, Copy::Device));
  sendMuteRows(link);
}

bool Command::StoreProgram(int program) {
  return transfer([&](LinkType link, int& counter) {
    builders_.SendSystemItemFrame(link, program, SystemItem::ProgramName);
    builders_.SendProgramOp(link, ProgramOp::WriteLocks, program, true);
    if (program != kWorkingState)
      builders_.SendAllBlocks(link, program, counter, 0);
    else
      storeWorkingState(link, counter);
  });
}

bool Command::StoreAllPrograms() {
  return transfer([&](LinkType link, int& counter) {
    for (int program = 1; program <= kLastProgram; ++program) {
      builders_.SendSystemItemFrame(link, program, SystemItem::ProgramName);
      builders_.SendProgramOp(link, ProgramOp::WriteStoredLocks, program, true);
      builders_.SendAllBlocks(link, program, counter, kProgramStoreRow);
    }
  });
}

bool Command::RecallProgram(int program) {
  return transfer([&](LinkType link, int& counter) {
    builders_.SendProgramOp(link, ProgramOp::ReadLocks, program, false);
    if (program == kWorkingState) builders_.SendProgramOp(link, ProgramOp::ReadLocks, kDeviceLockSet, false);
    builders_.RequestAllBlocks(link, program, counter, 0);
  });
}

bool Command::ReadAllPrograms() {
  return transfer([&](LinkType link, int& counter) {
    for (int program = 1; program <= kLastProgram; ++program) {
      builders_.SendProgramOp(link, ProgramOp::ReadStoredLocks, program, false);
      builders_.RequestAllBlocks(link, program, counter, kProgramStoreRow);
    }
  });
}

bool Command::ReadProgram(int program) {
  int counter = 0;
  return withOpenLink(
      [&](LinkType link) {
        builders_.SendProgramOp(link, ProgramOp::ReadStoredLocks, program, false);
        builders_.RequestAllBlocks(link, program, counter, kProgramStoreRow);
        notifier_.setProgressRange(0, counter - 1);
      },
      true);
}

bool Command::SendWholeInput(int channel) {
  return withOpenLink([&](LinkType link) { builders_.SendInputBlock(link, channel); }, false);
}

bool Command::SendWholeOutput(int channel) {
  return withOpenLink([&](LinkType link) { builders_.SendOutputBlock(link, channel); }, false);
}

// Marked before the protocol lock is let go: the worker clears the mark when
// it takes the last frame, which must not happen before the mark is set, and
// it may find the frames queued (an idle pass) before any wake-up.
void Command::beginTransfer(int counter) {
  notifier_.setProgressRange(0, counter - 1);
  notifier_.setTransferInProgress(true);
}

}  // namespace orvane
