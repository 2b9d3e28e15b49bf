#pragma once

// The mark that this editor holds the USB device, so that a second copy of
// the editor run by the same user refuses to connect by USB instead of
// fighting over the device. It is held for as long as the USB link is open,
// and the system drops it when the holder dies, so a crashed editor never
// leaves the device marked as taken.
//
// In the Windows build it is a named mutex of the user's session (the
// path is its name), and the registry value "USB" under the user's
// Software\KVS7304 key shows it: 1 while held, 0 otherwise. Elsewhere it
// is an advisory lock (flock) on a lock file; the lock file itself stays,
// and carries no meaning without the lock.
//
// On those systems the lock file must be the user's own, in a folder no other user can write
// in: where another user could create the file first, the editor could
// never take the lock. acquire() creates the lock's folder when it is
// missing (mode 0700) and refuses a folder that is a symbolic link, belongs
// to another user or that others may write in, and a lock file that belongs
// to another user. A shared folder with the sticky bit owned by the system
// (/tmp) is taken as given, as long as the lock file in it is the user's:
// a path given explicitly may lie there; the default path never does.

#include <filesystem>
#include <mutex>
#include <string>

namespace orvane {

class UsbDeviceLock {
 public:
  // In the Windows build also makes sure the user's settings key exists,
  // creating it with the device free.
  explicit UsbDeviceLock(std::filesystem::path path);
  ~UsbDeviceLock();
  UsbDeviceLock(const UsbDeviceLock&) = delete;
  UsbDeviceLock& operator=(const UsbDeviceLock&) = delete;

  // One lock file per user: in the user's runtime directory when there is
  // one, else in /tmp/orvane-UID, a folder of the user's alone. In the
  // Windows build the name of the session's mutex.
  static std::filesystem::path defaultPath();

  // Takes the lock; true when this object holds it now (also when it held
  // it already). False when another holder has it or the lock file cannot
  // be used; problem() then says which.
  bool acquire();
  void release();
  bool held() const {
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
  }
  const std::filesystem::path& path() const { return path_; }
  // Why the last acquire() failed, as a sentence to show the user; empty
  // after one that succeeded.
  std::string problem() const {
    std::lock_guard lock(mutex_);
    return problem_;
  }

 private:
  // Opens the lock file after checking its folder; -1 with problem_ set
  // when either may not be used.
  int openLockFile();

  const std::filesystem::path path_;
  mutable std::mutex mutex_;  // guards fd_ and problem_
  int fd_ = -1;               // the lock file's descriptor, or the mutex's handle, while held
  std::string problem_;
};

}  // namespace orvane
