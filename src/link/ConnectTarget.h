#pragma once

// A link named on the command line, the shortcut installers keep on their
// desktop: "usb", "net:ADDRESS[:PORT]" or "serial:PORT:ID".

#include <optional>
#include <string>

#include "model/ConnectionState.h"

namespace orvane {

struct ConnectTarget {
  LinkType link = LinkType::None;
  std::string address;  // the serial port, or the network address with its port
  int deviceId = 0;

  // Nothing when the text names no link.
  static std::optional<ConnectTarget> parse(const std::string& text);
  // Why `text` names no link, in one line that says what to give instead;
  // empty when it names one.
  static std::string refusal(const std::string& text);
};

}  // namespace orvane
