#include "transport/UsbDeviceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace orvane {

namespace {

constexpr mode_t kOwnerOnly = 0600;
constexpr mode_t kOwnFolder = 0700;

template <class Call>
int retried(Call call) {
  int result = -1;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result;
}

std::string modeOf(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

// Why the lock may not live in the folder described by `info`; empty when
// no other user can put a file of theirs in its place there.
std::string folderProblem(const struct stat& info, const std::string& name) {
  // A folder like /tmp: anyone may create files in it, but the sticky bit
  // keeps each file its owner's. The lock file is checked on its own.
  if ((info.st_mode & S_ISVTX) != 0 && info.st_uid == 0) return {};
  if (info.st_uid != ::getuid())
    return "the folder " + name + " of the USB device lock belongs to another user (UID " +
           std::to_string(info.st_uid) + "); remove it, or set XDG_RUNTIME_DIR to a folder of your own";
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
    return "other users may write in the folder " + name + " of the USB device lock (mode " +
           modeOf(info.st_mode) + "); make it yours alone with chmod 700 " + name;
  return {};
}

// Opens the lock's folder, first creating it for this user alone when it is
// missing; -1 with `problem` set when it cannot be opened or is not safe.
int openFolder(const std::filesystem::path& folder, std::string& problem) {
  const std::string name = folder.string();
  const bool created = ::mkdir(folder.c_str(), kOwnFolder) == 0;
  if (!created && errno != EEXIST) {
    problem = "cannot create the folder " + name + " for the USB device lock: " + std::strerror(errno);
    return -1;
  }
  // Never through a symbolic link: another user may have planted one.
  const int fd =
      retried([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); });
  if (fd < 0) {
    problem = errno == ELOOP || errno == ENOTDIR
                  ? name + ", the folder of the USB device lock, is a symbolic link or no folder"
                  : "cannot open the folder " + name + " of the USB device lock: " + std::strerror(errno);
    return -1;
  }
  // The process's umask may have taken bits from the new folder.
  if (created) ::fchmod(fd, kOwnFolder);
  struct stat info {};
  problem = ::fstat(fd, &info) != 0 ? "cannot examine the folder " + name + ": " + std::strerror(errno)
                                    : folderProblem(info, name);
  if (problem.empty()) return fd;
  ::close(fd);
  return -1;
}

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
  // Not the home folder: it may be shared by several computers, each with
  // a USB device of its own.
  return std::filesystem::path("/tmp") / ("orvane-" + std::to_string(::getuid())) / "usb.lock";
}

int UsbDeviceLock::openLockFile() {
  const std::filesystem::path folder = path_.has_parent_path() ? path_.parent_path() : ".";
  const int folderFd = openFolder(folder, problem_);
  if (folderFd < 0) return -1;
  // Not inherited by programs the editor starts, never through a symbolic
  // link, and never waiting on something that is no plain file.
  const int fd = retried([&] {
    return ::openat(folderFd, path_.filename().c_str(),
                    O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, kOwnerOnly);
  });
  const int openError = errno;
  ::close(folderFd);
  const std::string name = path_.string();
  if (fd < 0) {
    problem_ = "cannot open the USB device lock file " + name + ": " + std::strerror(openError);
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
    problem_ = "the USB device lock file " + name + " is not a file of yours; remove it";
    ::close(fd);
    return -1;
  }
  return fd;
}

bool UsbDeviceLock::acquire() {
  std::lock_guard lock(mutex_);
  if (fd_ >= 0) return true;
  problem_.clear();
  const int fd = openLockFile();
  if (fd < 0) return false;
  if (retried([&] { return ::flock(fd, LOCK_EX | LOCK_NB); }) != 0) {
    problem_ = errno == EWOULDBLOCK ? "another program of yours holds the USB device"
                                    : "cannot lock " + path_.string() + ": " + std::strerror(errno);
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

}  // namespace orvane
