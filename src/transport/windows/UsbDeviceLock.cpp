#include "transport/UsbDeviceLock.h"

#include <windows.h>

#include "platform/windows/SystemError.h"

namespace orvane {

// The lock is a named mutex of the user's session: it exists exactly while
// some editor keeps a handle to it open, and the system closes the handles
// of a process that ends, however it ends. Whoever creates it holds the
// device; whoever finds it existing does not. Its existence decides, not
// its ownership, since a mutex is owned by a thread and the link is opened
// and closed from different threads.
//
// The value "USB" under HKEY_CURRENT_USER\Software\KVS7304 follows the
// lock, 1 while held and 0 when released, for the tools that look there. It
// decides nothing: a 1 that a crashed editor left behind must not lock the
// device out of every later connection.

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\KVS7304";
constexpr const wchar_t* kTakenValue = L"USB";

// Writes the value "USB"; creates the key first when it is missing.
void markTaken(DWORD taken) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return;
  ::RegSetValueExW(key, kTakenValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&taken), sizeof taken);
  ::RegCloseKey(key);
}

// The settings key exists from the first start on, with the device free.
void prepareSettingsKey() {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
    return;
  ::RegCloseKey(key);
  if (disposition == REG_CREATED_NEW_KEY) markTaken(0);
}

HANDLE handleOf(int value) {
  return LongToHandle(value);
}

}  // namespace

UsbDeviceLock::UsbDeviceLock(std::filesystem::path path) : path_(std::move(path)) {
  prepareSettingsKey();
}

UsbDeviceLock::~UsbDeviceLock() {
  release();
}

std::filesystem::path UsbDeviceLock::defaultPath() {
  return L"Local\\KVS7304-USB";
}

bool UsbDeviceLock::acquire() {
  std::lock_guard lock(mutex_);
  if (fd_ >= 0) return true;
  problem_.clear();
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, path_.c_str());
  if (mutex == nullptr) {
    problem_ = "cannot create the USB device lock " + path_.string() + ": " + lastSystemMessage();
    return false;
  }
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    problem_ = "another program of yours holds the USB device";
    return false;
  }
  fd_ = HandleToLong(mutex);
  markTaken(1);
  return true;
}

void UsbDeviceLock::release() {
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return;
  markTaken(0);
  // Closing the last handle ends the mutex.
  ::CloseHandle(handleOf(fd_));
  fd_ = -1;
}

}  // namespace orvane
