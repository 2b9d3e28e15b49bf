#include "ui/settings/SetupSession.h"

#include "link/Command.h"
#include "model/ParameterImage.h"

namespace orvane {

SetupSession::SetupSession(ParameterImage& image, Command& command)
    : image_(image),
      command_(command),
      settings_(image.read([](const ImageData& d) { return d.system.setup; })),
      startup_(image.read([](const ImageData& d) { return d.system.startupProgram; })) {
  command_.setSetupBlockPacker([this] { storeBlock(); });
  command_.setIdleQueueService(true);
}

// Blocks still queued go out on the worker's next pass rather than wait for
// the next operation that wakes it.
SetupSession::~SetupSession() {
  command_.setIdleQueueService(false);
  command_.setSetupBlockPacker({});
  command_.WakeWorker();
}

void SetupSession::send() {
  // With a link the command packs the block under the protocol lock.
  if (!command_.SendSystemItem52()) storeBlock();
}

void SetupSession::storeBlock() {
  const SetupSettings::Block block = settings_.pack();
  image_.modify([&](ImageData& d) { d.system.setup = block; });
}

bool SetupSession::selectStartupProgram(int index) {
  if (!startup_.select(index)) return false;
  const std::uint8_t stored = startup_.stored();
  image_.modify([&](ImageData& d) { d.system.startupProgram = stored; });
  command_.SendSystemItem(0, SystemItem::StartupProgram);
  return true;
}

}  // namespace orvane
