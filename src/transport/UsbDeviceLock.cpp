#include "transport/UsbDeviceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace orvane {

namespace {

constexpr mode_t kOwnerOnly = 0600;

}  // namespace

UsbDeviceLock::UsbDeviceLock(std::filesystem::path path) : path_(std::move(path)) {}

UsbDeviceLock::~UsbDeviceLock() {
  release();
}

std::filesystem::path UsbDeviceLock::defaultPath() {
  // The runtime directory belongs to the user alone; it must be absolute
  // to be trusted.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') return std::filesystem::path(runtime) / "orvane-usb.lock";
  return std::filesystem::path("/tmp") / ("orvane-usb-" + std::to_string(::getuid()) + ".lock");
}

bool UsbDeviceLock::acquire() {
  std::lock_guard lock(mutex_);
  if (fd_ >= 0) return true;
  // Not inherited by programs the editor starts, and never through a
  // symbolic link another user may have planted in /tmp.
  int fd = -1;
  do {
    fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kOwnerOnly);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  int locked = -1;
  do {
    locked = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void UsbDeviceLock::release() {
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return;
  // Closing the file drops the lock.
  ::close(fd_);
  fd_ = -1;
}

bool UsbDeviceLock::held() const {
  std::lock_guard lock(mutex_);
  return fd_ >= 0;
}

}  // namespace orvane
