#pragma once

// Access to USB human-interface devices, as the USB link needs it: list the
// device interfaces present, open one, write one output report, read one
// input report with a time-out, close. The link talks to hidapi through this
// interface on a real machine and to the simulated device in tests.
//
// A backend holds at most one open device. Reports are always 65 bytes:
// byte 0 is the report ID (0 for the KVS7304, which numbers no reports),
// bytes 1-64 the data.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

inline constexpr std::size_t kHidReportSize = 65;
inline constexpr std::size_t kHidReportData = kHidReportSize - 1;
using HidReport = std::array<std::uint8_t, kHidReportSize>;

// What tells one kind of USB device from another.
struct HidIdentity {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t releaseNumber = 0;

  friend bool operator==(const HidIdentity&, const HidIdentity&) = default;
};

// One device interface present on the machine.
struct HidDeviceInfo {
  std::string path;
  HidIdentity identity;
};

enum class HidStatus : std::uint8_t {
  Ok,
  TimedOut,  // a read found no report within its time-out
  Failed,    // the transfer failed while the device is still there (a kernel time-out, a busy bus)
  Gone,      // the device was removed; also: no device open
};

struct HidReadResult {
  HidStatus status = HidStatus::TimedOut;
  // Bytes of the report received, the report ID byte included; 0 unless Ok.
  std::size_t count = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  virtual std::vector<HidDeviceInfo> enumerate() = 0;
  // Opens the device interface at `path` for reading and writing, closing
  // the device opened before. False when it cannot be opened.
  virtual bool open(const std::string& path) = 0;
  // Closes the open device, if any.
  virtual void close() = 0;
  // Writes one output report. Ok, Failed or Gone.
  virtual HidStatus write(const HidReport& report) = 0;
  // Reads one input report, waiting at most `timeout`. On Ok `report` holds
  // the report ID in byte 0 and the data after it, zero-filled past what the
  // device sent; otherwise it is all zero.
  virtual HidReadResult read(HidReport& report, std::chrono::milliseconds timeout) = 0;

  // Opens the first present device interface of exactly this identity that
  // can be opened and returns its path; nothing when there is none.
  std::optional<std::string> openFirst(const HidIdentity& identity);

 protected:
  // What a failed transfer of the device at `path` means, told by the
  // devices `present`: while the device is still there the failure was
  // transient, otherwise the device is gone.
  static HidStatus failureKind(const std::vector<HidDeviceInfo>& present, const std::string& path);
};

// The backend of the machine's real HID devices, made on first use: hidapi,
// or the system's own HID services in the Windows build.
HidBackend& systemHidBackend();

}  // namespace orvane
