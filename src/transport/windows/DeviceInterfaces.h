#pragma once

// The present device interfaces of one interface class (the COM ports, the
// HID devices), one after another, as the device set-up services list
// them: each with its path, and the properties of its device on request.

#include <windows.h>
// After windows.h, which it builds on.
#include <setupapi.h>

#include <optional>
#include <string>

namespace orvane {

class DeviceInterfaces {
 public:
  struct Entry {
    std::wstring path;       // what the interface is opened by
    SP_DEVINFO_DATA device;  // the device it belongs to
  };

  explicit DeviceInterfaces(const GUID& interfaceClass);
  ~DeviceInterfaces();
  DeviceInterfaces(const DeviceInterfaces&) = delete;
  DeviceInterfaces& operator=(const DeviceInterfaces&) = delete;

  // The next interface; nothing after the last one, or once a step of the
  // listing failed.
  std::optional<Entry> next();
  // The listing step that failed ("SetupDiEnumDeviceInterfaces", ...) and
  // the system's error code; empty while none did.
  const std::string& failedStep() const { return failedStep_; }
  DWORD error() const { return error_; }

  // A text property of an entry's device (SPDRP_FRIENDLYNAME, ...);
  // nothing when the device has none.
  std::optional<std::wstring> text(Entry& entry, DWORD property) const;

 private:
  void fail(const char* step);

  HDEVINFO set_;
  GUID class_;
  DWORD index_ = 0;
  std::string failedStep_;
  DWORD error_ = 0;
};

}  // namespace orvane
