#pragma once

// The mark that this editor holds the USB device, so that a second copy of
// the editor run by the same user refuses to connect by USB instead of
// fighting over the device. It is an advisory lock (flock) on a lock file,
// held for as long as the USB link is open: the kernel drops it when the
// holder closes the file or dies, so a crashed editor never leaves the
// device marked as taken. The lock file itself stays; it carries no meaning
// without the lock.

#include <filesystem>
#include <mutex>

namespace orvane {

class UsbDeviceLock {
 public:
  explicit UsbDeviceLock(std::filesystem::path path);
  ~UsbDeviceLock();
  UsbDeviceLock(const UsbDeviceLock&) = delete;
  UsbDeviceLock& operator=(const UsbDeviceLock&) = delete;

  // One lock file per user: in the user's runtime directory when there is
  // one, else in /tmp with the user ID in its name.
  static std::filesystem::path defaultPath();

  // Takes the lock; true when this object holds it now (also when it held
  // it already). False when another holder has it or the lock file cannot
  // be opened.
  bool acquire();
  void release();
  bool held() const;
  const std::filesystem::path& path() const { return path_; }

 private:
  const std::filesystem::path path_;
  mutable std::mutex mutex_;  // guards fd_
  int fd_ = -1;
};

}  // namespace orvane
