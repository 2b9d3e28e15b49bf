#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <set>

#include "FolderFiles.h"
#include "platform/AtomicFile.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Write = std::function<AtomicFile::Result(const fs::path&)>;

Write writing(const Bytes& bytes) {
  return [&bytes](const fs::path& path) { return AtomicFile::write(path, bytes); };
}

// The write, while `held` is open elsewhere without sharing, as an editor
// or a spreadsheet program keeps a file it shows: no one may replace it
// meanwhile.
Write whileOpen(const fs::path& held, Write write) {
  return [held, write](const fs::path& path) {
    const HANDLE handle = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    AtomicFile::Result result = write(path);
    ::CloseHandle(handle);
    return result;
  };
}

// Writes one after another into one folder: whether each was written, and
// when not, why and whether the file that was there was kept. Either way
// the file holds what it should and no temporary is left beside it.
TEST(AtomicFile, WritesTheFileWholeOrKeepsTheOneThatWasThere) {
  ScratchDir dir{"atomic-file"};
  const fs::path hall = dir.file("Hall.dia1j");
  const Bytes first(3000, 1), second{2, 3};
  const Write givingUp = [](const fs::path& path) {
    return AtomicFile::write(path, [](const fs::path&) { return std::optional<std::string>("broken"); });
  };
  const struct {
    const char* what;
    fs::path target;
    Write write;
    bool written;
    bool kept;
    std::string reason;  // when not written; empty: whatever Windows says
    const Bytes& after;
  } steps[] = {
      {"a new file", hall, writing(first), true, false, "", first},
      {"a shorter file over a longer one", hall, writing(second), true, false, "", second},
      {"the writer gives up", hall, givingUp, false, true, "broken", second},
      {"the file is held open elsewhere", hall, whileOpen(hall, writing(first)), false, true, "", second},
      {"no such folder", dir.file("gone/Hall.dia1j"), writing(first), false, false,
       "the folder '" + dir.file("gone") + "' does not exist", second},
      {"a folder of that name", dir.file(""), writing(first), false, false, "it is a folder", second},
      {"a device, written into", "NUL", writing(first), true, false, "", second},
  };
  for (const auto& step : steps) {
    const AtomicFile::Result result = step.write(step.target);
    EXPECT_EQ(result.written, step.written) << step.what;
    EXPECT_EQ(result.earlierKept, step.kept) << step.what;
    EXPECT_EQ(result.reason.empty(), step.written) << step.what;
    if (!step.reason.empty()) {
      EXPECT_EQ(result.reason, step.reason) << step.what;
    }
    EXPECT_EQ(contents(hall), step.after) << step.what;
    EXPECT_EQ(names(dir.file("")), std::set<std::string>{"Hall.dia1j"}) << step.what;
  }
}

// A writer that takes a path (a library that opens the file itself) gets
// the temporary, beside the file, and may open it while it is being made.
TEST(AtomicFile, AWriterThatTakesAPathMayOpenTheTemporary) {
  ScratchDir dir{"atomic-file"};
  fs::path given;
  ASSERT_TRUE(AtomicFile::write(dir.file("report.xlsx"), [&](const fs::path& temporary) {
    given = temporary;
    std::ofstream(temporary) << "sheet";
    return std::optional<std::string>();
  }));
  EXPECT_EQ(given.parent_path(), fs::path(dir.file("report.xlsx")).parent_path());
  EXPECT_EQ(contents(dir.file("report.xlsx")), (Bytes{'s', 'h', 'e', 'e', 't'}));
}

}  // namespace
}  // namespace orvane
