#include "server/AccessCode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

namespace orvane::server {

namespace {

constexpr std::size_t kCodeLength = 10;
// Enough for any code someone types; a longer file is no code file.
constexpr std::size_t kLongestFile = 256;
// Letters and digits that cannot be mistaken for each other when read aloud
// or from a label: no 0/O, 1/l/I.
constexpr std::string_view kAlphabet = "23456789abcdefghjkmnpqrstuvwxyz";

std::string makeCode() {
  std::random_device random;  // the system's random source
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  std::string code;
  for (std::size_t i = 0; i < kCodeLength; ++i) code += kAlphabet[pick(random)];
  return code;
}

// Why the open file `fd` may not hold a code; empty when it may.
std::string ownerProblem(int fd, const std::string& name) {
  struct stat info {};
  if (::fstat(fd, &info) != 0)
    return "cannot read the access code file " + name + ": " + std::strerror(errno);
  if (!S_ISREG(info.st_mode)) return "the access code file " + name + " is not a plain file";
  if (info.st_uid != ::geteuid()) return "the access code file " + name + " belongs to another user";
  if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
    return "other users may read the access code file " + name + ": make it private with chmod 600 " + name;
  return {};
}

}  // namespace

std::string AccessCode::check(std::string_view code) {
  const bool printable =
      std::ranges::all_of(code, [](char c) { return c > ' ' && c < 0x7F && c != ';' && c != ','; });
  if (code.size() < kShortestCode || !printable)
    return "the access code needs at least 6 characters without blanks, ';' or ','";
  return {};
}

std::filesystem::path AccessCode::defaultFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::filesystem::path base = config && *config ? std::filesystem::path(config)
                                                       : std::filesystem::path(home ? home : ".") / ".config";
  return base / "orvane" / "server-code";
}

std::string AccessCode::readFile(const std::filesystem::path& file, std::string& code) {
  const std::string name = file.string();
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return "cannot read the access code file " + name + ": " + std::strerror(errno);
  std::string problem = ownerProblem(fd, name);
  std::array<char, kLongestFile + 1> bytes{};
  const ssize_t size = problem.empty() ? ::read(fd, bytes.data(), bytes.size()) : 0;
  ::close(fd);
  if (!problem.empty()) return problem;
  if (size < 0 || static_cast<std::size_t>(size) > kLongestFile)
    return "the access code file " + name + " holds no access code";
  std::string_view text(bytes.data(), static_cast<std::size_t>(size));
  text = text.substr(0, text.find('\n'));
  if (text.ends_with('\r')) text.remove_suffix(1);
  if (const std::string wrong = check(text); !wrong.empty()) return name + ": " + wrong;
  code = text;
  return {};
}

std::string AccessCode::loadOrMake(const std::filesystem::path& file, std::string& code, bool& made) {
  made = false;
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(file, error))) return readFile(file, code);
  std::filesystem::create_directories(file.parent_path(), error);
  // A new file only: one that appeared meanwhile is not written through.
  const int fd =
      ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
  if (fd < 0) return "cannot write the access code to " + file.string() + ": " + std::strerror(errno);
  code = makeCode();
  const std::string line = code + "\n";
  const bool written =
      ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) && ::fsync(fd) == 0;
  ::close(fd);
  if (!written) {
    ::unlink(file.c_str());
    return "cannot write the access code to " + file.string();
  }
  made = true;
  return {};
}

bool AccessCode::matches(std::string_view given) const {
  unsigned difference = given.size() == code_.size() ? 0 : 1;
  for (std::size_t i = 0; i < given.size(); ++i)
    difference |= static_cast<unsigned char>(given[i]) ^ static_cast<unsigned char>(code_[i % code_.size()]);
  return difference == 0;
}

}  // namespace orvane::server
