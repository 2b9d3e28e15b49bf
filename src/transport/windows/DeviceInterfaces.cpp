#include "transport/windows/DeviceInterfaces.h"

#include <algorithm>
#include <array>
#include <vector>

namespace orvane {

DeviceInterfaces::DeviceInterfaces(const GUID& interfaceClass)
    : set_(::SetupDiGetClassDevsW(&interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)),
      class_(interfaceClass) {
  if (set_ == INVALID_HANDLE_VALUE) fail("SetupDiGetClassDevs");
}

DeviceInterfaces::~DeviceInterfaces() {
  if (set_ != INVALID_HANDLE_VALUE) ::SetupDiDestroyDeviceInfoList(set_);
}

void DeviceInterfaces::fail(const char* step) {
  failedStep_ = step;
  error_ = ::GetLastError();
}

std::optional<DeviceInterfaces::Entry> DeviceInterfaces::next() {
  if (!failedStep_.empty()) return std::nullopt;
  SP_DEVICE_INTERFACE_DATA deviceInterface{};
  deviceInterface.cbSize = sizeof deviceInterface;
  if (!::SetupDiEnumDeviceInterfaces(set_, nullptr, &class_, index_++, &deviceInterface)) {
    if (::GetLastError() != ERROR_NO_MORE_ITEMS) fail("SetupDiEnumDeviceInterfaces");
    return std::nullopt;
  }
  // The first call asks for the size of the interface's detail.
  DWORD size = 0;
  ::SetupDiGetDeviceInterfaceDetailW(set_, &deviceInterface, nullptr, 0, &size, nullptr);
  std::vector<std::uint8_t> buffer(std::max<DWORD>(size, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)));
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  Entry entry{};
  entry.device.cbSize = sizeof entry.device;
  if (!::SetupDiGetDeviceInterfaceDetailW(set_, &deviceInterface, detail, static_cast<DWORD>(buffer.size()),
                                          nullptr, &entry.device)) {
    fail("SetupDiGetDeviceInterfaceDetail");
    return std::nullopt;
  }
  entry.path = detail->DevicePath;
  return entry;
}

std::optional<std::wstring> DeviceInterfaces::text(Entry& entry, DWORD property) const {
  std::array<wchar_t, 512> text{};
  if (!::SetupDiGetDeviceRegistryPropertyW(set_, &entry.device, property, nullptr,
                                           reinterpret_cast<BYTE*>(text.data()),
                                           sizeof(wchar_t) * (text.size() - 1), nullptr))
    return std::nullopt;
  return std::wstring(text.data());
}

}  // namespace orvane
