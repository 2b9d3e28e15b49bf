#include "sim/MemoryHidBackend.h"

#include <algorithm>

#include "protocol/SendData.h"
#include "transport/UsbPort.h"

namespace orvane {

MemoryHidBackend::MemoryHidBackend(DeviceResponder& device)
    : MemoryHidBackend(device, HidDeviceInfo{kDefaultPath, UsbPort::kDeviceIdentity}) {}

MemoryHidBackend::MemoryHidBackend(DeviceResponder& device, HidDeviceInfo identity)
    : device_(device), self_(std::move(identity)) {}

std::vector<HidDeviceInfo> MemoryHidBackend::enumerate() {
  std::lock_guard lock(mutex_);
  std::vector<HidDeviceInfo> devices = others_;
  if (present_) devices.push_back(self_);
  return devices;
}

bool MemoryHidBackend::open(const std::string& path) {
  std::lock_guard lock(mutex_);
  open_ = false;
  request_.clear();
  input_.clear();
  ++handle_;
  if (!present_ || path != self_.path) return false;
  open_ = true;
  gone_ = false;
  ++opens_;
  return true;
}

void MemoryHidBackend::close() {
  std::lock_guard lock(mutex_);
  open_ = false;
  request_.clear();
  input_.clear();
  ++handle_;
  inputArrived_.notify_all();
}

HidStatus MemoryHidBackend::write(const HidReport& report) {
  std::vector<std::uint8_t> frame;
  long handle = 0;
  {
    std::lock_guard lock(mutex_);
    if (!open_ || gone_) return HidStatus::Gone;
    if (failingWrites_ > 0) {
      if (writesBeforeFailure_ == 0) {
        --failingWrites_;
        return HidStatus::Failed;
      }
      --writesBeforeFailure_;
    }
    ++reportsWritten_;
    written_.push_back(report);
    if (written_.size() > kKeptReports) written_.pop_front();
    request_.insert(request_.end(), report.begin() + 1, report.end());
    if (request_.size() <= FrameOffset::Length) return HidStatus::Ok;
    const std::size_t size = request_[FrameOffset::Length] + kFrameOverhead;
    if (request_.size() < size) return HidStatus::Ok;
    // The rest of the last report is its zero fill.
    frame.assign(request_.begin(), request_.begin() + static_cast<std::ptrdiff_t>(size));
    request_.clear();
    handle = handle_;
  }
  // The device answers outside the lock: a test watching its requests may
  // look at this backend meanwhile.
  const std::optional<DeviceResponder::Frame> reply = device_.respond(frame);
  if (!reply) return HidStatus::Ok;
  std::lock_guard lock(mutex_);
  if (handle == handle_ && open_ && !gone_) queueReply(*reply);
  return HidStatus::Ok;
}

void MemoryHidBackend::queueReply(const std::vector<std::uint8_t>& reply) {
  for (std::size_t offset = 0; offset < reply.size(); offset += kHidReportData) {
    HidReport report{};
    const std::size_t piece = std::min(kHidReportData, reply.size() - offset);
    std::copy_n(reply.begin() + static_cast<std::ptrdiff_t>(offset), piece, report.begin() + 1);
    input_.push_back(report);
  }
  inputArrived_.notify_all();
}

HidReadResult MemoryHidBackend::read(HidReport& report, std::chrono::milliseconds timeout) {
  report.fill(0);
  std::unique_lock lock(mutex_);
  const long handle = handle_;
  if (open_ && !gone_ && failingReads_ > 0) {
    --failingReads_;
    return {HidStatus::Failed, 0};
  }
  const bool answered = inputArrived_.wait_for(
      lock, timeout, [&] { return !input_.empty() || gone_ || !open_ || handle != handle_; });
  if (!open_ || gone_ || handle != handle_) return {HidStatus::Gone, 0};
  if (!answered) return {HidStatus::TimedOut, 0};
  report = input_.front();
  input_.pop_front();
  return {HidStatus::Ok, kHidReportSize};
}

void MemoryHidBackend::setPresent(bool present) {
  std::lock_guard lock(mutex_);
  present_ = present;
}

void MemoryHidBackend::unplug() {
  std::lock_guard lock(mutex_);
  present_ = false;
  gone_ = true;
  input_.clear();
  inputArrived_.notify_all();
}

void MemoryHidBackend::failWrites(int count, int after) {
  std::lock_guard lock(mutex_);
  failingWrites_ = count;
  writesBeforeFailure_ = after;
}

void MemoryHidBackend::failReads(int count) {
  std::lock_guard lock(mutex_);
  failingReads_ = count;
}

void MemoryHidBackend::addOtherDevice(HidDeviceInfo device) {
  std::lock_guard lock(mutex_);
  others_.push_back(std::move(device));
}

bool MemoryHidBackend::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_ && !gone_;
}

int MemoryHidBackend::opens() const {
  std::lock_guard lock(mutex_);
  return opens_;
}

long MemoryHidBackend::reportsWritten() const {
  std::lock_guard lock(mutex_);
  return reportsWritten_;
}

std::vector<HidReport> MemoryHidBackend::writtenReports() const {
  std::lock_guard lock(mutex_);
  return {written_.begin(), written_.end()};
}

}  // namespace orvane
