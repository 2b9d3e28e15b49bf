#include "server/AccessCode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <random>

namespace orvane::server {

namespace {

constexpr std::size_t kCodeLength = 10;
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

}  // namespace

std::filesystem::path AccessCode::defaultFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::filesystem::path base = config && *config ? std::filesystem::path(config)
                                                       : std::filesystem::path(home ? home : ".") / ".config";
  return base / "orvane" / "server-code";
}

std::string AccessCode::loadOrMake(const std::filesystem::path& file, std::string& code, bool& made) {
  made = false;
  if (std::ifstream in(file); in) {
    std::getline(in, code);
    if (!code.empty()) return {};
  }
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) return "cannot write the access code to " + file.string();
  ::fchmod(fd, S_IRUSR | S_IWUSR);
  code = makeCode();
  const std::string line = code + "\n";
  const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  ::close(fd);
  if (!written) return "cannot write the access code to " + file.string();
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
