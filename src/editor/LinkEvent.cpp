#include "editor/LinkEvent.h"

namespace orvane::editor {

bool LinkEvent::closesLink() const {
  return kind != Kind::OpenFailed && kind != Kind::RenameDone && kind != Kind::FactoryResetDone;
}

namespace {

std::string firmwareRefusal(FirmwareVerdict verdict, const std::string& version) {
  switch (verdict) {
    case FirmwareVerdict::WrongProduct:
      return "the device (firmware " + version + ") is not a product this tool serves";
    case FirmwareVerdict::DeviceOlder:
      return "the device's firmware " + version + " is older than this tool supports";
    default:
      return "the device's firmware " + version + " is newer than this tool supports";
  }
}

}  // namespace

std::string LinkEvent::text() const {
  const bool told = kind == Kind::OpenFailed || kind == Kind::Lost || kind == Kind::Unfinished;
  if (told && (fault.known() || (kind == Kind::OpenFailed && fault.link != LinkType::None)))
    return fault.text();
  switch (kind) {
    case Kind::OpenFailed:
      return "cannot open the link " + (detail.empty() ? std::string("usb") : detail);
    case Kind::FirmwareRefused:
      return firmwareRefusal(verdict, detail);
    case Kind::RenameDone:
      return "the device took its new network name";
    case Kind::FactoryResetDone:
      return "the device's network settings are back to the factory's";
    case Kind::SearchEnded:
      return "the search for device IDs is over";
    case Kind::Unfinished:
      return "the device did not finish " + detail + " in time";
    case Kind::Cancelled:
      return "the wait for the device was cancelled";
    default:
      return "the link to the device was lost";
  }
}

}  // namespace orvane::editor
