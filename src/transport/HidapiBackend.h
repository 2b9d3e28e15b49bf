#pragma once

// The USB link's access to real HID devices, through hidapi's hidraw
// backend. Every call takes the backend's lock, so a close from the user
// interface waits for a read or write of the port thread to return instead
// of freeing the device under it; the port keeps its reads short for that.
//
// hidapi tells a failed transfer from a removed device only by its error
// text, so a failure is judged by the device list: while the device still
// enumerates the failure was transient (a kernel write time-out, a busy
// bus), otherwise the device is gone.

#include <memory>
#include <mutex>
#include <string>

#include "transport/HidBackend.h"

struct hid_device_;

namespace orvane {

class HidapiBackend : public HidBackend {
 public:
  // Initialises hidapi on first use in the process.
  HidapiBackend();
  ~HidapiBackend() override;
  HidapiBackend(const HidapiBackend&) = delete;
  HidapiBackend& operator=(const HidapiBackend&) = delete;

  std::vector<HidDeviceInfo> enumerate() override;
  bool open(const std::string& path) override;
  void close() override;
  HidStatus write(const HidReport& report) override;
  // hidraw hands the data of an unnumbered report without the report ID
  // byte; it is put back here, so every report starts with its ID.
  HidReadResult read(HidReport& report, std::chrono::milliseconds timeout) override;

 private:
  struct Closer {
    void operator()(hid_device_* device) const;
  };

  const bool initialised_;
  std::mutex mutex_;  // guards device_ and every call on it
  std::unique_ptr<hid_device_, Closer> device_;
  std::string path_;  // of the open device
};

}  // namespace orvane
