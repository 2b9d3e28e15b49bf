#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include "FolderFiles.h"
#include "platform/AtomicFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// No file can be opened or made while it lives, not even by root: the
// process may hold no more descriptors than it holds now.
class NoDescriptorsLeft {
 public:
  NoDescriptorsLeft() {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit limit = saved_;
    limit.rlim_cur = static_cast<rlim_t>(lowestFree);
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
  ~NoDescriptorsLeft() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
  NoDescriptorsLeft(const NoDescriptorsLeft&) = delete;
  NoDescriptorsLeft& operator=(const NoDescriptorsLeft&) = delete;

 private:
  rlimit saved_{};
};

TEST(AtomicFile, ReplacesTheFileItNamesWhole) {
  ScratchDir dir{"atomic-file"};
  const fs::path file = dir.file("Hall.dia1j");
  const Bytes first(3000, 1), second{2, 3};
  ASSERT_TRUE(AtomicFile::write(file, first));
  EXPECT_EQ(contents(file), first);
  // A shorter file replaces a longer one; the permissions stay the file's.
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(AtomicFile::write(file, second));
  EXPECT_EQ(contents(file), second);
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // Through a link the file it points to is replaced; the link stays.
  const fs::path link = dir.file("latest.dia1j");
  fs::create_symlink(file, link);
  ASSERT_TRUE(AtomicFile::write(link, first));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(file), first);
  // A writer that takes a path (a library that opens the file itself) gets
  // the temporary, beside the file.
  fs::path given;
  ASSERT_TRUE(AtomicFile::write(dir.file("report.xlsx"), [&](const fs::path& temporary) {
    given = temporary;
    std::ofstream(temporary) << "sheet";
    return std::optional<std::string>();
  }));
  EXPECT_EQ(given.parent_path(), fs::path(dir.file("")).parent_path());
  EXPECT_EQ(contents(dir.file("report.xlsx")), (Bytes{'s', 'h', 'e', 'e', 't'}));
  // What is no plain file is written into, not replaced.
  EXPECT_TRUE(AtomicFile::write("/dev/null", first));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(names(dir.file("")), (std::set<std::string>{"Hall.dia1j", "latest.dia1j", "report.xlsx"}));
}

// Whatever fails, the file that was there keeps its bytes, no temporary is
// left beside it, and the result says why and whether a file was kept.
TEST(AtomicFile, AFailedWriteKeepsTheEarlierFileAndLeavesNothingBehind) {
  ScratchDir dir{"atomic-file"};
  const fs::path earlier = dir.file("Hall.dat1j");
  const Bytes old(100, 0x55), fresh(5000, 0xAA);
  ASSERT_TRUE(AtomicFile::write(earlier, old));
  const auto fill = [&](const fs::path& path) { return AtomicFile::write(path, fresh); };
  const struct {
    const char* what;
    std::function<AtomicFile::Result()> write;
    std::string explained;
  } cases[] = {
      {"the disk fills up",
       [&] {
         const FileSizeLimit fullDisk(1000);
         return fill(earlier);
       },
       "File too large; the file that was there is kept unchanged"},
      {"no file can be made",
       [&] {
         const NoDescriptorsLeft none;
         return fill(earlier);
       },
       "no file can be made in its folder: Too many open files; the file that was there is kept unchanged"},
      {"the writer gives up",
       [&] {
         return AtomicFile::write(earlier,
                                  [](const fs::path&) { return std::optional<std::string>("broken"); });
       },
       "broken; the file that was there is kept unchanged"},
      {"no such folder", [&] { return fill(dir.file("gone/Hall.dat1j")); },
       "the folder '" + dir.file("gone") + "' does not exist"},
      {"a folder of that name", [&] { return fill(dir.file("")); }, "Is a directory"},
      {"a device with no room", [&] { return fill("/dev/full"); }, "No space left on device"},
  };
  for (const auto& c : cases) {
    const AtomicFile::Result result = c.write();
    EXPECT_FALSE(result) << c.what;
    EXPECT_EQ(result.explain(), c.explained) << c.what;
    EXPECT_EQ(contents(earlier), old) << c.what;
    EXPECT_EQ(names(dir.file("")), std::set<std::string>{"Hall.dat1j"}) << c.what;
  }
}

}  // namespace
}  // namespace orvane
