#pragma once

// The code every request to the server must carry. Given on the command
// line, or kept in a file of the user's configuration folder that only the
// user may read, made from the system's random source at the first start.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::server {

class AccessCode {
 public:
  explicit AccessCode(std::string code) : code_(std::move(code)) {}

  // $XDG_CONFIG_HOME/orvane/server-code, or ~/.config/orvane/server-code.
  static std::filesystem::path defaultFile();
  // The code kept in `file`; when there is none, a new one is made and
  // stored with mode 0600 and `made` is set. An error text when the file
  // cannot be read or written.
  static std::string loadOrMake(const std::filesystem::path& file, std::string& code, bool& made);

  // Compares in a time that does not depend on where `given` differs.
  bool matches(std::string_view given) const;
  const std::string& text() const { return code_; }

 private:
  std::string code_;
};

}  // namespace orvane::server
