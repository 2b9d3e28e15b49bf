#include "transport/windows/WinHidBackend.h"

#include <windows.h>
// After windows.h, which it builds on; MinGW's copy declares its C
// functions without C linkage.
extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <optional>
#include <system_error>

#include "platform/windows/WideText.h"
#include "transport/windows/DeviceInterfaces.h"

namespace orvane {

namespace {

// The longest the write of one report may take: a device that takes none
// for this long has stalled.
constexpr DWORD kWriteTimeout = 1000;

HANDLE newEvent() {
  const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr)
    throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateEvent");
  return event;
}

// What the device at `path` says it is, asked without any access to its
// reports, so that a device another program reads can still be told.
std::optional<HidIdentity> identityOf(const std::wstring& path) {
  const HANDLE device =
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE) return std::nullopt;
  HIDD_ATTRIBUTES attributes{};
  attributes.Size = sizeof attributes;
  const bool read = ::HidD_GetAttributes(device, &attributes);
  ::CloseHandle(device);
  if (!read) return std::nullopt;
  return HidIdentity{attributes.VendorID, attributes.ProductID, attributes.VersionNumber};
}

// The HID device interfaces present now that tell what they are.
std::vector<HidDeviceInfo> presentDevices() {
  GUID hidClass{};
  ::HidD_GetHidGuid(&hidClass);
  DeviceInterfaces interfaces(hidClass);
  std::vector<HidDeviceInfo> devices;
  while (const auto device = interfaces.next()) {
    if (const auto identity = identityOf(device->path))
      devices.push_back({utf8Text(device->path), *identity});
  }
  return devices;
}

HANDLE openShared(const std::wstring& path, DWORD access) {
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED, nullptr);
}

// Waits `wait` at most for the transfer to end, else cancels it and waits
// for its end; the bytes it moved, nothing when it failed.
std::optional<DWORD> finishTransfer(HANDLE device, OVERLAPPED& transfer, DWORD wait) {
  if (::WaitForSingleObject(transfer.hEvent, wait) != WAIT_OBJECT_0) ::CancelIoEx(device, &transfer);
  DWORD moved = 0;
  if (::GetOverlappedResult(device, &transfer, &moved, TRUE)) return moved;
  // A cancelled transfer that moved nothing is no failure of the device.
  if (::GetLastError() == ERROR_OPERATION_ABORTED) return 0;
  return std::nullopt;
}

// Starts a transfer and sees it to its end; the bytes moved, nothing when
// it failed.
template <class Start>
std::optional<DWORD> transfer(HANDLE device, HANDLE done, DWORD wait, Start start) {
  OVERLAPPED transfer{};
  transfer.hEvent = done;
  DWORD moved = 0;
  if (start(&moved, &transfer)) return moved;
  if (::GetLastError() != ERROR_IO_PENDING) return std::nullopt;
  return finishTransfer(device, transfer, wait);
}

DWORD waitMs(std::chrono::milliseconds wait) {
  return static_cast<DWORD>(std::clamp<long long>(wait.count(), 0, MAXDWORD - 1));
}

}  // namespace

WinHidBackend::WinHidBackend() : readDone_(newEvent()), writeDone_(newEvent()) {}

WinHidBackend::~WinHidBackend() {
  closeDevice();
  ::CloseHandle(readDone_);
  ::CloseHandle(writeDone_);
}

std::vector<HidDeviceInfo> WinHidBackend::enumerate() {
  std::lock_guard lock(mutex_);
  return presentDevices();
}

bool WinHidBackend::open(const std::string& path) {
  std::lock_guard lock(mutex_);
  closeDevice();
  const std::wstring name = wideText(path);
  const HANDLE reader = openShared(name, GENERIC_READ);
  const HANDLE writer =
      reader == INVALID_HANDLE_VALUE ? INVALID_HANDLE_VALUE : openShared(name, GENERIC_WRITE);
  if (writer == INVALID_HANDLE_VALUE) {
    if (reader != INVALID_HANDLE_VALUE) ::CloseHandle(reader);
    return false;
  }
  reader_ = reader;
  writer_ = writer;
  path_ = path;
  return true;
}

void WinHidBackend::close() {
  std::lock_guard lock(mutex_);
  closeDevice();
}

void WinHidBackend::closeDevice() {
  if (reader_ == nullptr) return;
  ::CloseHandle(reader_);
  ::CloseHandle(writer_);
  reader_ = writer_ = nullptr;
  path_.clear();
}

HidStatus WinHidBackend::write(const HidReport& report) {
  std::lock_guard lock(mutex_);
  if (writer_ == nullptr) return HidStatus::Gone;
  const auto written = transfer(writer_, writeDone_, kWriteTimeout, [&](DWORD* moved, OVERLAPPED* transfer) {
    return ::WriteFile(writer_, report.data(), static_cast<DWORD>(report.size()), moved, transfer);
  });
  return written == report.size() ? HidStatus::Ok : failureKind(presentDevices(), path_);
}

HidReadResult WinHidBackend::read(HidReport& report, std::chrono::milliseconds timeout) {
  report.fill(0);
  std::lock_guard lock(mutex_);
  if (reader_ == nullptr) return {HidStatus::Gone, 0};
  const auto got = transfer(reader_, readDone_, waitMs(timeout), [&](DWORD* moved, OVERLAPPED* transfer) {
    return ::ReadFile(reader_, report.data(), static_cast<DWORD>(report.size()), moved, transfer);
  });
  if (!got) return {failureKind(presentDevices(), path_), 0};
  if (*got == 0) return {HidStatus::TimedOut, 0};
  return {HidStatus::Ok, *got};
}

HidBackend& systemHidBackend() {
  static WinHidBackend backend;
  return backend;
}

}  // namespace orvane
