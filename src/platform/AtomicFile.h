#pragma once

// Writes a file as a whole or not at all. Program files, backups, reports
// and the simulator's state file are written here: the new contents go to a
// temporary file beside the file, are flushed to the disk and only then take
// its name. A full disk, an I/O error or a crash half way therefore leaves
// the file that was there as it was, and a failed write removes its
// temporary again.
//
// A symbolic link keeps pointing where it did: the file it names is
// replaced. A name that stands for no plain file (a terminal, a pipe,
// /dev/null) cannot be replaced and is written straight into.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orvane::AtomicFile {

struct Result {
  bool written = false;
  std::string reason;        // when not written: what went wrong, as the system says it
  bool earlierKept = false;  // when not written: a file was there and is unchanged

  explicit operator bool() const { return written; }
  // The reason and, when a file was there, that it was kept: the end of a
  // message that names the file.
  std::string explain() const {
    return earlierKept ? reason + "; the file that was there is kept unchanged" : reason;
  }
};

// Writes the file at the path it is given (the temporary, or the name
// itself when that is no plain file); the reason when it could not.
using Fill = std::function<std::optional<std::string>(const std::filesystem::path& file)>;

Result write(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
inline Result write(const std::filesystem::path& path, std::string_view text) {
  return write(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}
Result write(const std::filesystem::path& path, const Fill& fill);

}  // namespace orvane::AtomicFile
