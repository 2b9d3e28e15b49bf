#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ProgramFileSamples.h"
#include "model/ProgramFile.h"
#include "support/FileSizeLimit.h"

namespace orvane {
namespace {

TEST(ProgramFile, WritesAndReadsFilesAndReportsFailures) {
  const auto dir = std::filesystem::temp_directory_path() / ("orvane-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const Bytes file = oneProgramFile("7304.1");
  EXPECT_TRUE(ProgramFile::writeBytes(dir / "Main.dia1j", Bytes(60000, 7)));
  EXPECT_EQ(ProgramFile::readBytes(dir / "Main.dia1j")->size(), ProgramFile::kLargestFile + 1);
  EXPECT_TRUE(ProgramFile::writeBytes(dir / "Main.dia1j", file));  // a shorter file replaces the longer one
  EXPECT_EQ(ProgramFile::readBytes(dir / "Main.dia1j"), file);
  EXPECT_FALSE(ProgramFile::readBytes(dir / "missing.dia1j"));
  EXPECT_FALSE(ProgramFile::readBytes(dir));
  EXPECT_FALSE(ProgramFile::writeBytes(dir / "no such folder" / "x.dia1j", file));
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_FALSE(ProgramFile::writeBytes("/dev/full", file));  // nothing fits on the device
  }
  // A disk that fills up half way through: the file that was there stays
  // whole, and nothing else is left in its folder.
  {
    const FileSizeLimit fullDisk(1000);
    const AtomicFile::Result failed = ProgramFile::writeBytes(dir / "Main.dia1j", allProgramsFile("7304.1"));
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.explain(), "File too large; the file that was there is kept unchanged");
  }
  EXPECT_EQ(ProgramFile::readBytes(dir / "Main.dia1j"), file);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orvane
