#pragma once

// A small file that holds a secret, such as an access code: taken only when
// it is a plain file of the user's own that no one else may read or write
// (mode 0600), so that a secret left readable is noticed, not used.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::PrivateFile {

struct Line {
  std::string text;   // the first line, without its line end
  std::string error;  // why the file was not taken; empty when it was
};

// The first line of `file`, which may be at most `longest` bytes long. An
// error names the file by what it holds (`what`: "access code" gives "the
// access code file F").
Line firstLine(const std::filesystem::path& file, const std::string& what, std::size_t longest);

// Makes `file` hold `text`, private from its first byte on (mode 0600; in
// the Windows build an access list that lets in the user alone), so that
// firstLine takes it. Only a new file is made: one that is there, or
// appears meanwhile, is not written through. Empty when written; else why
// not, as the system says it (a file half written is removed again).
std::string create(const std::filesystem::path& file, std::string_view text);

}  // namespace orvane::PrivateFile
