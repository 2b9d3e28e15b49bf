#pragma once

// What a folder holds after a file was written into it, for the tests of
// writing files.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace orvane {

inline std::vector<std::uint8_t> contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The names of the files in `folder`.
inline std::set<std::string> names(const std::filesystem::path& folder) {
  std::set<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    found.insert(entry.path().filename().string());
  return found;
}

}  // namespace orvane
