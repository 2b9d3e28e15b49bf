#include "link/ConnectionManager.h"

namespace orvane {

namespace {
constexpr int kWorkingState = 0;
}

ConnectionManager::ConnectionManager(Command& command, ParameterImage& image, Notifier& notifier)
    : command_(command), image_(image), notifier_(notifier) {
  command_.attachIdSearch(&idSearch_);
}

ConnectionManager::~ConnectionManager() {
  command_.attachIdSearch(nullptr);
}

LinkType ConnectionManager::linkType() const {
  return image_.read([](const ImageData& d) { return d.connection.linkType; });
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
  command_.levelRequest().request();
}

void ConnectionManager::disconnect() {
  command_.CloseLink(linkType());
  idSearch_.end();
  image_.modify([](ImageData& d) {
    d.connection.linkType = LinkType::None;
    d.currentProgramNumber = 0;
  });
  notifier_.setProgress(0);
  notifier_.setTransferInProgress(false);
  image_.disconnectReset();
}

SearchStart ConnectionManager::startIdSearch(const std::string& port) {
  if (idSearchRunning() || isConnected()) return SearchStart::Refused;
  // One hold of the lock from opening to the queued probes: the worker must
  // not find the link open with nothing queued and poll a device that is
  // not there.
  std::lock_guard lock(command_.protocolLock());
  if (!command_.OpenLink(LinkType::Serial, port)) return SearchStart::PortFailed;
  image_.modify([](ImageData& d) { d.connection.linkType = LinkType::Serial; });
  idSearch_.begin();
  command_.StartIdSearch();
  return SearchStart::Started;
}

// A search that ends normally still has its flag up when the report comes;
// a serial port that failed during a search took the flag down itself, so
// its report is a lost link the user hears about.
LinkLoss ConnectionManager::classifyLoss(LinkType link) const {
  if (link == LinkType::None || linkType() != link) return LinkLoss::Stale;
  return idSearch_.running() ? LinkLoss::SearchEnded : LinkLoss::Lost;
}

FirmwareVerdict ConnectionManager::checkFirmware(const ProductVariant& variant) const {
  const auto version = image_.read([](const ImageData& d) { return d.status.firmwareVersion; });
  return orvane::checkFirmware(version, variant);
}

}  // namespace orvane
