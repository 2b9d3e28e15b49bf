#include "server/AccessCode.h"

#include <algorithm>
#include <random>

#include "platform/PrivateFile.h"
#include "platform/UserFolders.h"

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

}  // namespace

std::string AccessCode::check(std::string_view code) {
  const bool printable =
      std::ranges::all_of(code, [](char c) { return c > ' ' && c < 0x7F && c != ';' && c != ','; });
  if (code.size() < kShortestCode || !printable)
    return "the access code needs at least 6 characters without blanks, ';' or ','";
  return {};
}

std::filesystem::path AccessCode::defaultFile() {
  return UserFolders::config() / "orvane" / "server-code";
}

std::string AccessCode::readFile(const std::filesystem::path& file, std::string& code) {
  const PrivateFile::Line line = PrivateFile::firstLine(file, "access code", kLongestFile);
  if (!line.error.empty()) return line.error;
  if (const std::string wrong = check(line.text); !wrong.empty()) return file.string() + ": " + wrong;
  code = line.text;
  return {};
}

std::string AccessCode::loadOrMake(const std::filesystem::path& file, std::string& code, bool& made) {
  made = false;
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(file, error))) return readFile(file, code);
  std::filesystem::create_directories(file.parent_path(), error);
  code = makeCode();
  if (std::string why = PrivateFile::create(file, code + "\n"); !why.empty())
    return "cannot write the access code to " + file.string() + ": " + why;
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
