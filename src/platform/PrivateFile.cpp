#include "platform/PrivateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace orvane::PrivateFile {

namespace {

// Why the open file `fd` (`named`: "the access code file F") may not hold a
// secret; empty when it may.
std::string ownerProblem(int fd, const std::string& named, const std::string& name) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return "cannot read " + named + ": " + std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return named + " is not a plain file";
  if (info.st_uid != ::geteuid()) return named + " belongs to another user";
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
    return "other users may read " + named + ": make it private with chmod 600 " + name;
  return {};
}

}  // namespace

Line firstLine(const std::filesystem::path& file, const std::string& what, std::size_t longest) {
  const std::string name = file.string();
  const std::string named = "the " + what + " file " + name;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return {{}, "cannot read " + named + ": " + std::strerror(errno)};
  Line line{{}, ownerProblem(fd, named, name)};
  // One byte more than the longest, to tell a file that is too long.
  std::vector<char> bytes(longest + 1);
  const ssize_t size = line.error.empty() ? ::read(fd, bytes.data(), bytes.size()) : 0;
  ::close(fd);
  if (!line.error.empty()) return line;
  if (size < 0 || static_cast<std::size_t>(size) > longest) return {{}, named + " holds no " + what};
  std::string_view text(bytes.data(), static_cast<std::size_t>(size));
  text = text.substr(0, text.find('\n'));
  if (text.ends_with('\r')) text.remove_suffix(1);
  line.text = text;
  return line;
}

std::string create(const std::filesystem::path& file, std::string_view text) {
  const int fd =
      ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
  if (fd < 0) return std::strerror(errno);
  const bool written =
      ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
  const std::string reason = written ? std::string() : std::strerror(errno);
  ::close(fd);
  if (!written) ::unlink(file.c_str());
  return reason;
}

}  // namespace orvane::PrivateFile
