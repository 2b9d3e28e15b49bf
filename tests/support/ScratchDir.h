#pragma once

// A folder of its own for each test, under the system's temporary folder,
// removed with everything in it when the test lets go of it.

#include <unistd.h>

#include <filesystem>
#include <string>

namespace orvane {

class ScratchDir {
 public:
  // `prefix` names the tests the folder belongs to.
  explicit ScratchDir(const std::string& prefix)
      : path_(std::filesystem::temp_directory_path() /
              (prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(next_++))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  static inline int next_ = 0;
  std::filesystem::path path_;
};

}  // namespace orvane
