#pragma once

// A small file that holds a secret, such as an access code: taken only when
// it is a plain file of the user's own that no one else may read or write
// (mode 0600), so that a secret left readable is noticed, not used.

#include <cstddef>
#include <filesystem>
#include <string>

namespace orvane::PrivateFile {

struct Line {
  std::string text;   // the first line, without its line end
  std::string error;  // why the file was not taken; empty when it was
};

// The first line of `file`, which may be at most `longest` bytes long. An
// error names the file by what it holds (`what`: "access code" gives "the
// access code file F").
Line firstLine(const std::filesystem::path& file, const std::string& what, std::size_t longest);

}  // namespace orvane::PrivateFile
