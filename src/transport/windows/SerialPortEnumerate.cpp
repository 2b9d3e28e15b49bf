#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/windows/WideText.h"
#include "transport/SerialPortList.h"
#include "transport/windows/DeviceInterfaces.h"

namespace orvane {

// The ports come from the device set-up services: every present device of
// the COM port interface class, named by its friendly name ("USB Serial Port
// (COM3)"), whose location tells whether it sits on USB. Where those list
// nothing (an older system, a driver that registers no interface) the
// system's map of the serial devices to their COM names stands in.

namespace {

constexpr GUID kComPortInterface = {
    0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};

// "USB Serial Port (COM3)" names the port COM3 and describes it as "USB
// Serial Port".
SerialPortEntry entryOf(const std::wstring& friendlyName, bool onUsb) {
  const std::size_t open = friendlyName.rfind(L'(');
  const std::size_t close = friendlyName.rfind(L')');
  if (open == std::wstring::npos || close == std::wstring::npos || close < open) return {};
  std::wstring description = friendlyName.substr(0, open);
  while (!description.empty() && description.back() == L' ') description.pop_back();
  return {utf8Text(friendlyName.substr(open + 1, close - open - 1)), utf8Text(description), onUsb};
}

// The present ports of the COM port interface class, in the order the
// system lists them; a failing step ends the listing with its text. A port
// whose names cannot be read is left out.
std::vector<SerialPortEntry> interfacePorts(std::string& error) {
  DeviceInterfaces ports(kComPortInterface);
  std::vector<SerialPortEntry> entries;
  while (auto port = ports.next()) {
    const auto friendlyName = ports.text(*port, SPDRP_FRIENDLYNAME);
    if (!friendlyName || !ports.text(*port, SPDRP_DEVICEDESC)) continue;
    const auto location = ports.text(*port, SPDRP_LOCATION_INFORMATION);
    entries.push_back(entryOf(*friendlyName, location && location->find(L"USB") != std::wstring::npos));
  }
  if (!ports.failedStep().empty()) {
    std::array<char, 96> text{};
    std::snprintf(text.data(), text.size(), "%s failed. (err=%lx)", ports.failedStep().c_str(),
                  ports.error());
    error = text.data();
  }
  return entries;
}

// The system's map of serial devices ("\Device\Serial0") to COM names; a
// device whose name says USB is taken to be on USB.
std::vector<SerialPortEntry> mappedPorts() {
  std::vector<SerialPortEntry> entries;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return entries;
  for (DWORD index = 0;; ++index) {
    std::array<wchar_t, 256> device{};
    std::array<wchar_t, 64> port{};
    DWORD deviceSize = device.size();
    DWORD portBytes = sizeof(wchar_t) * (port.size() - 1);
    DWORD type = 0;
    const LSTATUS status = ::RegEnumValueW(key, index, device.data(), &deviceSize, nullptr, &type,
                                           reinterpret_cast<BYTE*>(port.data()), &portBytes);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS || type != REG_SZ) continue;
    const std::wstring deviceName(device.data());
    entries.push_back({utf8Text(port.data()), {}, deviceName.find(L"USB") != std::wstring::npos});
  }
  ::RegCloseKey(key);
  return entries;
}

}  // namespace

SerialPortList SerialPortList::enumerate() {
  std::string error;
  std::vector<SerialPortEntry> entries = interfacePorts(error);
  SerialPortList listed(std::move(entries), error);
  if (!listed.entries().empty()) return listed;
  SerialPortList mapped(mappedPorts());
  // The map lists the ports the device set-up services could not.
  return mapped.entries().empty() ? SerialPortList({}, error) : mapped;
}

}  // namespace orvane
