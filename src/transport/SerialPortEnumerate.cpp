#include <libserialport.h>

#include <memory>

#include "transport/SerialPortList.h"

namespace orvane {

// The ports as libserialport finds them, with its word on which are on USB.
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

}  // namespace orvane
