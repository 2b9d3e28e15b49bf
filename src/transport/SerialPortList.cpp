#include "transport/SerialPortList.h"

#include <algorithm>

namespace orvane {

SerialPortList::SerialPortList(std::vector<SerialPortEntry> entries, std::string error)
    : error_(std::move(error)) {
  for (SerialPortEntry& entry : entries) {
    if (entry.name.empty()) continue;
    if (entry.description.empty()) entry.description = entry.name;
    entries_.push_back(std::move(entry));
  }
}

std::vector<std::string> SerialPortList::names() const {
  if (entries_.empty()) return {std::string(kNoPort)};
  std::vector<std::string> result;
  for (const SerialPortEntry& entry : entries_) result.push_back(entry.name);
  return result;
}

std::string SerialPortList::preselected() const {
  if (entries_.empty()) return std::string(kNoPort);
  const auto usb = std::ranges::find_if(entries_, [](const SerialPortEntry& e) { return e.usbAttached; });
  return usb != entries_.end() ? usb->name : entries_.front().name;
}

}  // namespace orvane
