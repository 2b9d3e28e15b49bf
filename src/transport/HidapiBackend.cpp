#include "transport/HidapiBackend.h"

#include <hidapi.h>

#include <algorithm>
#include <climits>

namespace orvane {

namespace {

// hid_init() sets up the library for the whole process; hid_exit() is left
// to process exit, because other backends may still be in use.
bool initialiseHidapi() {
  static const bool initialised = hid_init() == 0;
  return initialised;
}

// The HID device interfaces present now.
std::vector<HidDeviceInfo> presentDevices() {
  std::vector<HidDeviceInfo> devices;
  hid_device_info* const all = hid_enumerate(0, 0);
  for (const hid_device_info* d = all; d != nullptr; d = d->next) {
    if (d->path == nullptr) continue;
    devices.push_back({d->path, {d->vendor_id, d->product_id, d->release_number}});
  }
  hid_free_enumeration(all);
  return devices;
}

}  // namespace

void HidapiBackend::Closer::operator()(hid_device_* device) const {
  hid_close(device);
}

HidapiBackend::HidapiBackend() : initialised_(initialiseHidapi()) {}

HidapiBackend::~HidapiBackend() = default;

std::vector<HidDeviceInfo> HidapiBackend::enumerate() {
  if (!initialised_) return {};
  std::lock_guard lock(mutex_);
  return presentDevices();
}

bool HidapiBackend::open(const std::string& path) {
  std::lock_guard lock(mutex_);
  device_.reset();
  if (!initialised_) return false;
  device_.reset(hid_open_path(path.c_str()));
  path_ = device_ ? path : std::string();
  return device_ != nullptr;
}

void HidapiBackend::close() {
  std::lock_guard lock(mutex_);
  device_.reset();
  path_.clear();
}

HidStatus HidapiBackend::write(const HidReport& report) {
  std::lock_guard lock(mutex_);
  if (!device_) return HidStatus::Gone;
  const int written = hid_write(device_.get(), report.data(), report.size());
  return written < 0 ? failureKind(presentDevices(), path_) : HidStatus::Ok;
}

HidReadResult HidapiBackend::read(HidReport& report, std::chrono::milliseconds timeout) {
  report.fill(0);
  std::lock_guard lock(mutex_);
  if (!device_) return {HidStatus::Gone, 0};
  const int waitMs = static_cast<int>(std::clamp<long long>(timeout.count(), 0, INT_MAX));
  const int got = hid_read_timeout(device_.get(), report.data() + 1, kHidReportData, waitMs);
  if (got < 0) return {failureKind(presentDevices(), path_), 0};
  if (got == 0) return {HidStatus::TimedOut, 0};
  return {HidStatus::Ok, static_cast<std::size_t>(got) + 1};
}

HidBackend& systemHidBackend() {
  static HidapiBackend backend;
  return backend;
}

}  // namespace orvane
