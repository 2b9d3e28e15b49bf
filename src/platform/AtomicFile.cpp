#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace orvane::AtomicFile {

namespace {

namespace fs = std::filesystem;

// Writes the open file `fd` whose name is `file`; the reason when it could not.
using FillOpen = std::function<std::optional<std::string>(int fd, const fs::path& file)>;

constexpr mode_t kNewFileMode = 0666;  // less the user's umask, as for any new file
constexpr mode_t kPermissionBits = 07777;
constexpr int kNameAttempts = 100;
// Of the file's name in its temporary's: the temporary's name stays within
// what every file system allows for one name.
constexpr std::size_t kNameKept = 200;

std::string systemReason(int error) {
  return std::generic_category().message(error);
}

Result failed(std::string reason, bool earlierKept) {
  return Result{false, std::move(reason), earlierKept};
}

// The file a name stands for: a symbolic link is followed (one that points
// nowhere is replaced itself).
fs::path resolved(const fs::path& path) {
  std::error_code error;
  if (!fs::is_symlink(path, error)) return path;
  fs::path target = fs::canonical(path, error);
  return error ? path : target;
}

struct Temporary {
  fs::path path;
  int fd = -1;
};

// A hidden name beside `target` that no other writer has taken, for this
// process and a running number; created, so no one else takes it after.
std::optional<Temporary> createTemporary(const fs::path& target, int& error) {
  static std::atomic<unsigned> next{0};
  const std::string base =
      "." + target.filename().string().substr(0, kNameKept) + "." + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    fs::path candidate = target.parent_path() / (base + std::to_string(next++) + ".tmp");
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
    if (fd >= 0) return Temporary{std::move(candidate), fd};
    if (errno != EEXIST) {
      error = errno;
      return std::nullopt;
    }
  }
  error = EEXIST;
  return std::nullopt;
}

std::optional<std::string> writeAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return systemReason(n < 0 ? errno : EIO);
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return std::nullopt;
}

// Fills the temporary, gives it the permissions of the file it replaces
// and flushes it to the disk; closes it in any case.
std::optional<std::string> completeTemporary(const Temporary& temporary, const FillOpen& fill,
                                             std::optional<mode_t> earlierMode) {
  std::optional<std::string> reason = fill(temporary.fd, temporary.path);
  if (!reason && earlierMode && ::fchmod(temporary.fd, *earlierMode) != 0) reason = systemReason(errno);
  if (!reason && ::fsync(temporary.fd) != 0) reason = systemReason(errno);
  if (::close(temporary.fd) != 0 && !reason) reason = systemReason(errno);
  return reason;
}

// So that the new name itself survives a power cut. The file is in place
// already, so a folder that cannot be flushed changes nothing of the result.
void flushFolder(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// `earlierMode`: the permissions of the plain file there is, if any.
Result replace(const fs::path& target, const FillOpen& fill, std::optional<mode_t> earlierMode) {
  const bool earlier = earlierMode.has_value();
  int error = 0;
  const std::optional<Temporary> temporary = createTemporary(target, error);
  if (!temporary && error == ENOENT)
    return failed("the folder '" + target.parent_path().string() + "' does not exist", earlier);
  if (!temporary) return failed("no file can be made in its folder: " + systemReason(error), earlier);
  std::optional<std::string> reason = completeTemporary(*temporary, fill, earlierMode);
  if (!reason && ::rename(temporary->path.c_str(), target.c_str()) != 0) reason = systemReason(errno);
  if (reason) {
    ::unlink(temporary->path.c_str());
    return failed(std::move(*reason), earlier);
  }
  flushFolder(target);
  return Result{true, {}, false};
}

// A terminal, a pipe or a device: there is no file to keep.
Result writeInto(const fs::path& target, const FillOpen& fill) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return failed(systemReason(errno), false);
  std::optional<std::string> reason = fill(fd, target);
  ::close(fd);
  return reason ? failed(std::move(*reason), false) : Result{true, {}, false};
}

Result writeWith(const fs::path& path, const FillOpen& fill) {
  const fs::path target = resolved(path);
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) return replace(target, fill, std::nullopt);
  if (!S_ISREG(status.st_mode)) return writeInto(target, fill);
  return replace(target, fill, status.st_mode & kPermissionBits);
}

}  // namespace

Result write(const fs::path& path, std::span<const std::uint8_t> bytes) {
  return writeWith(path, [bytes](int fd, const fs::path&) { return writeAll(fd, bytes); });
}

Result write(const fs::path& path, const Fill& fill) {
  return writeWith(path, [&fill](int, const fs::path& file) { return fill(file); });
}

}  // namespace orvane::AtomicFile
