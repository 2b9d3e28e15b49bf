#pragma once

// The serial ports of the machine, for the port box of the connection
// dialog. The box preselects the first port on a USB adapter (the usual way
// to reach an RS-485 bus from a laptop), else the first port; with no port
// at all it offers the single name "NULL", which no port answers to.

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct SerialPortEntry {
  std::string name;         // what the port is opened by: its device path, or its COM name
  std::string description;  // what the port calls itself; its name when it says nothing
  bool usbAttached = false;

  friend bool operator==(const SerialPortEntry&, const SerialPortEntry&) = default;
};

class SerialPortList {
 public:
  static constexpr std::string_view kNoPort = "NULL";

  // Lists the machine's ports. When listing fails the list is empty and
  // error() says why.
  static SerialPortList enumerate();

  SerialPortList() = default;
  // Entries without a name are left out; one without a description takes
  // its name.
  explicit SerialPortList(std::vector<SerialPortEntry> entries, std::string error = {});

  const std::vector<SerialPortEntry>& entries() const { return entries_; }
  const std::string& error() const { return error_; }
  // The names for the port box: every port's name, or "NULL" alone.
  std::vector<std::string> names() const;
  // The first USB-attached port, else the first port, else "NULL".
  std::string preselected() const;

 private:
  std::vector<SerialPortEntry> entries_;
  std::string error_;
};

}  // namespace orvane
