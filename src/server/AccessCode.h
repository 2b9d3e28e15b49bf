#pragma once

// The code every request to the server must carry. Given in the
// environment, in a file of its own, on the command line (readable by
// every local user: for tests), or kept in a file of the user's
// configuration folder, made from the system's random source at the
// first start.
//
// A code file must be a plain file of the user's own that no one else may
// read or write (mode 0600, or on Windows an access list for the user
// alone); otherwise it is refused.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::server {

class AccessCode {
 public:
  static constexpr std::size_t kShortestCode = 6;

  explicit AccessCode(std::string code) : code_(std::move(code)) {}

  // Why `code` cannot serve as an access code; empty when it can.
  static std::string check(std::string_view code);
  // "orvane/server-code" in the user's folder of settings
  // ($XDG_CONFIG_HOME, ~/.config; %APPDATA% on Windows).
  static std::filesystem::path defaultFile();
  // Reads the code from the first line of `file`; an error text when the
  // file cannot be read, is not the user's own or may be read by others,
  // or holds no valid code.
  static std::string readFile(const std::filesystem::path& file, std::string& code);
  // The code kept in `file`; when there is none, a new one is made and
  // stored with mode 0600 and `made` is set. An error text as readFile's,
  // or when the file cannot be written.
  static std::string loadOrMake(const std::filesystem::path& file, std::string& code, bool& made);

  // Compares in a time that does not depend on where `given` differs.
  bool matches(std::string_view given) const;
  const std::string& text() const { return code_; }

 private:
  std::string code_;
};

}  // namespace orvane::server
