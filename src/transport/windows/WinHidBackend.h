#pragma once

// The USB link's access to real HID devices in the Windows build, through
// the device set-up and HID services: the present interfaces of the HID
// class with their vendor, product and release numbers, and each device
// opened twice for overlapped I/O, once for reading and once for writing,
// both shared so that the device can be listed while it is open. Windows
// hands a report with its report ID in byte 0, as the link wants it.
//
// Every transfer is waited for before the call returns; one that outlasts
// its time-out is cancelled, and its end awaited, so no transfer is left
// running. Every call takes the backend's lock, so a close from the user
// interface waits for a read or write of the port thread to return. A
// failed transfer is judged by the device list, as the hidapi backend does:
// while the device still enumerates the failure was transient, otherwise
// the device is gone.

#include <mutex>
#include <string>

#include "transport/HidBackend.h"

namespace orvane {

class WinHidBackend : public HidBackend {
 public:
  WinHidBackend();
  ~WinHidBackend() override;
  WinHidBackend(const WinHidBackend&) = delete;
  WinHidBackend& operator=(const WinHidBackend&) = delete;

  std::vector<HidDeviceInfo> enumerate() override;
  bool open(const std::string& path) override;
  void close() override;
  HidStatus write(const HidReport& report) override;
  HidReadResult read(HidReport& report, std::chrono::milliseconds timeout) override;

 private:
  // Called with the lock held.
  void closeDevice();

  std::mutex mutex_;  // guards everything below and every call on the device
  // The device's handles and the completion events of their transfers; the
  // handles are null while no device is open.
  void* reader_ = nullptr;
  void* writer_ = nullptr;
  void* readDone_;
  void* writeDone_;
  std::string path_;  // of the open device
};

}  // namespace orvane
