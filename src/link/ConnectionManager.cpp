#include "link/ConnectionManager.h"

namespace orvane {

namespace {
constexpr int kWorkingState = 0;
}

ConnectionManager::ConnectionManager(Command& command, ParameterImage& image, Notifier& notifier)
    : command_(command), image_(image), notifier_(notifier) {}

LinkType ConnectionManager::linkType() const {
  return image_.read([](const ImageData& d) { return d.connection.linkType; });
}

bool ConnectionManager::idSearchRunning() const {
  return image_.read([](const ImageData& d) { return d.status.idSearchRunning; });
}

void ConnectionManager::endIdSearch() {
  image_.modify([](ImageData& d) { d.status.idSearchRunning = false; });
}

bool ConnectionManager::connect(LinkType link, const std::string& address, int deviceId) {
  if (link == LinkType::None || isConnected()) return false;
  if (link == LinkType::Serial) image_.modify([&](ImageData& d) { d.connection.deviceId = deviceId; });
  std::lock_guard lock(command_.protocolLock());
  if (!command_.OpenLink(link, address)) return false;
  image_.modify([&](ImageData& d) { d.connection.linkType = link; });
  queueFullRead();
  return true;
}

void ConnectionManager::reconnectTo(int deviceId) {
  if (linkType() != LinkType::Serial) return;
  std::lock_guard lock(command_.protocolLock());
  image_.modify([&](ImageData& d) { d.connection.deviceId = deviceId; });
  queueFullRead();
}

// Called with the protocol lock held.
void ConnectionManager::queueFullRead() {
  command_.ReadDeviceSettings();
  command_.RecallProgram(kWorkingState);
  image_.modify([](ImageData& d) { d.status.levelStoring = true; });
}

void ConnectionManager::disconnect() {
  command_.CloseLink(linkType());
  image_.modify([](ImageData& d) {
    d.connection.linkType = LinkType::None;
    d.currentProgramNumber = 0;
    d.status.levelStoring = false;
    d.status.connectionCheckPending = false;
  });
  notifier_.setProgress(0);
  notifier_.setTransferInProgress(false);
  image_.disconnectReset();
}

bool ConnectionManager::startIdSearch(const std::string& port) {
  if (idSearchRunning() || isConnected()) return false;
  // One hold of the lock from opening to the queued probes: the worker must
  // not find the link open with nothing queued and poll a device that is
  // not there.
  std::lock_guard lock(command_.protocolLock());
  if (!command_.OpenLink(LinkType::Serial, port)) return false;
  image_.modify([](ImageData& d) { d.connection.linkType = LinkType::Serial; });
  return command_.StartIdSearch();
}

FirmwareVerdict ConnectionManager::checkFirmware(const ProductVariant& variant) const {
  const auto version = image_.read([](const ImageData& d) { return d.status.firmwareVersion; });
  return orvane::checkFirmware(version, variant);
}

}  // namespace orvane
