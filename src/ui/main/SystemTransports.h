#pragma once

// The machine's real links: the serial ports, USB HID devices through hidapi
// and the network.

#include <vector>

#include "link/Command.h"
#include "ui/main/ConnectDlg.h"

namespace orvane::ui {

class SystemTransports {
 public:
  // Gives `command` a serial, a USB and a network transport.
  static void attach(Command& command, ParameterImage& image);
  // The serial ports for the connection dialog, USB adapters marked.
  static std::vector<SerialPortChoice> listSerialPorts();
};

}  // namespace orvane::ui
