#include "link/SystemLinks.h"

#include "link/Command.h"
#include "transport/HidBackend.h"
#include "transport/NetPort.h"
#include "transport/SerialPort.h"
#include "transport/UsbPort.h"

namespace orvane::SystemLinks {

void attach(Command& command, ParameterImage& /*image*/) {
  command.attachTransport(LinkType::Serial,
                          std::make_unique<SerialPort>(command.linkContext(LinkType::Serial)));
  command.attachTransport(LinkType::Usb,
                          std::make_unique<UsbPort>(command.linkContext(LinkType::Usb), systemHidBackend()));
  command.attachTransport(LinkType::Network,
                          std::make_unique<NetPort>(command.linkContext(LinkType::Network)));
}

}  // namespace orvane::SystemLinks
