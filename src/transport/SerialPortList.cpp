#include "transport/SerialPortList.h"

#include <libserialport.h>

#include <algorithm>
#include <memory>

namespace orvane {

namespace {

struct PortListDeleter {
  void operator()(sp_port** ports) const { sp_free_port_list(ports); }
};

struct ErrorTextDeleter {
  void operator()(char* text) const { sp_free_error_message(text); }
};

std::string lastErrorText() {
  const std::unique_ptr<char, ErrorTextDeleter> text(sp_last_error_message());
  return text ? std::string(text.get()) : std::string("listing the serial ports failed");
}

}  // namespace

SerialPortList SerialPortList::enumerate() {
  sp_port** raw = nullptr;
  if (sp_list_ports(&raw) != SP_OK) {
    if (raw) sp_free_port_list(raw);
    return SerialPortList({}, lastErrorText());
  }
  const std::unique_ptr<sp_port*, PortListDeleter> ports(raw);
  std::vector<SerialPortEntry> entries;
  for (sp_port** port = ports.get(); *port; ++port) {
    const char* name = sp_get_port_name(*port);
    const char* description = sp_get_port_description(*port);
    entries.push_back(
        {name ? name : "", description ? description : "", sp_get_port_transport(*port) == SP_TRANSPORT_USB});
  }
  return SerialPortList(std::move(entries));
}

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
