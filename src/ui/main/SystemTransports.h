#pragma once

// The serial ports of the machine, as the connection dialog lists them.

#include <vector>

#include "link/Command.h"
#include "ui/main/ConnectDlg.h"

namespace orvane::ui {

class SystemTransports {
 public:
  // The serial ports for the connection dialog, USB adapters marked.
  static std::vector<SerialPortChoice> listSerialPorts();
};

}  // namespace orvane::ui
