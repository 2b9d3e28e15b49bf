#pragma once

// A KVS7304 on USB without a USB bus: the HID backend of the simulated
// device. Output reports written to it are collected into a request frame;
// once the frame's len + 16 bytes have arrived the device answers it, and the
// reply is cut into 65-byte input reports (report ID 0, 64 data bytes, the
// last zero-filled) that reads hand out in order. Opening the device anew
// starts with nothing collected and nothing waiting to be read, as a fresh
// handle on a real device does.
//
// Tests can take the device away: absent, it is neither listed nor
// openable; unplugged, an open handle reports the device gone on every
// read and write. They can also make single transfers fail while the device
// stays plugged in. Other devices can be listed beside it. Thread-safe.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "sim/DeviceResponder.h"
#include "transport/HidBackend.h"

namespace orvane {

class MemoryHidBackend : public HidBackend {
 public:
  static constexpr const char* kDefaultPath = "memory:kvs7304";
  // How many of the most recent written reports are kept for tests to look at.
  static constexpr std::size_t kKeptReports = 1024;

  explicit MemoryHidBackend(DeviceResponder& device);
  MemoryHidBackend(DeviceResponder& device, HidDeviceInfo identity);
  MemoryHidBackend(const MemoryHidBackend&) = delete;
  MemoryHidBackend& operator=(const MemoryHidBackend&) = delete;

  std::vector<HidDeviceInfo> enumerate() override;
  bool open(const std::string& path) override;
  void close() override;
  HidStatus write(const HidReport& report) override;
  HidReadResult read(HidReport& report, std::chrono::milliseconds timeout) override;

  // --- the test's hand on the device ---------------------------------------
  // Plugged in (the default) or not there at all; plugging in does not
  // revive a handle opened before the device went away.
  void setPresent(bool present);
  // Pulls the cable: the device is no longer present and an open handle is
  // gone.
  void unplug();
  // Transfers that fail while the device stays present, as a kernel
  // time-out does: once `after` more writes went through, the next `count`
  // writes fail, and what they carried never reaches the device.
  void failWrites(int count, int after = 0);
  // The next `count` reads fail.
  void failReads(int count);
  // A device of another kind (or another release), listed before the
  // simulated one; it cannot be opened.
  void addOtherDevice(HidDeviceInfo device);

  bool isOpen() const;
  int opens() const;
  long reportsWritten() const;
  std::vector<HidReport> writtenReports() const;

 private:
  void queueReply(const std::vector<std::uint8_t>& reply);

  DeviceResponder& device_;
  const HidDeviceInfo self_;
  mutable std::mutex mutex_;  // guards everything below
  std::condition_variable inputArrived_;
  std::vector<HidDeviceInfo> others_;
  bool present_ = true;
  bool open_ = false;
  bool gone_ = false;  // the open handle lost its device
  long handle_ = 0;    // counts opens; a reply for an older handle is dropped
  int opens_ = 0;
  int writesBeforeFailure_ = 0;
  int failingWrites_ = 0;
  int failingReads_ = 0;
  std::vector<std::uint8_t> request_;  // frame bytes collected so far
  std::deque<HidReport> input_;        // input reports waiting to be read
  long reportsWritten_ = 0;
  std::deque<HidReport> written_;
};

}  // namespace orvane
