#pragma once

// Where orvanectl keeps the master levels to restore between its calls:
// one small file per device link in the user's state folder
// (UserFolders::state(), its folder "orvane"), so that a mute in
// one call and the unmute in the next bring back the level the room had. A
// file that is missing or unreadable knows no level; the unmute is then
// refused rather than guessed.

#include <filesystem>
#include <optional>
#include <string>

#include "link/ConnectTarget.h"
#include "link/MasterSectionMemory.h"

namespace orvane::cli {

class MasterLevelFile {
 public:
  // The file of `target` in `stateFolder`; none without a folder.
  static std::optional<MasterLevelFile> of(const ConnectTarget& target,
                                           const std::optional<std::filesystem::path>& stateFolder);

  const std::filesystem::path& path() const { return path_; }
  MasterSectionMemory read() const;
  // Empty when written; else why not.
  std::string write(const MasterSectionMemory& memory) const;

 private:
  explicit MasterLevelFile(std::filesystem::path path) : path_(std::move(path)) {}

  std::filesystem::path path_;
};

}  // namespace orvane::cli
