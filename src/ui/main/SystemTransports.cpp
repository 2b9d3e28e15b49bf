#include "ui/main/SystemTransports.h"

#include "transport/SerialPortList.h"

namespace orvane::ui {

std::vector<SerialPortChoice> SystemTransports::listSerialPorts() {
  std::vector<SerialPortChoice> choices;
  const SerialPortList ports = SerialPortList::enumerate();
  for (const SerialPortEntry& entry : ports.entries())
    choices.push_back({QString::fromStdString(entry.name), entry.usbAttached});
  return choices;
}

}  // namespace orvane::ui
