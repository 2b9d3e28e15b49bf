#include <gtest/gtest.h>

#include <filesystem>

#include "platform/PrivateFile.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// A secret is written into a new file that is private from the start, so
// the same program takes it back; a file that is there already, or a
// folder that is not, is never written through, and a refused file leaves
// nothing behind.
TEST(PrivateFileTest, ANewSecretFileIsPrivateAndNeverReplacesOne) {
  ScratchDir dir{"private-create"};
  const fs::path code = dir.file("code");
  ASSERT_EQ(PrivateFile::create(code, "first1\n"), "");
  const PrivateFile::Line first = PrivateFile::firstLine(code, "access code", 64);
  EXPECT_EQ(first.error, "");
  EXPECT_EQ(first.text, "first1");

  EXPECT_NE(PrivateFile::create(code, "second\n"), "");
  EXPECT_EQ(PrivateFile::firstLine(code, "access code", 64).text, "first1");

  const fs::path nowhere = dir.file("missing") + "/code";
  EXPECT_NE(PrivateFile::create(nowhere, "third3\n"), "");
  EXPECT_FALSE(fs::exists(nowhere));
}

}  // namespace
}  // namespace orvane
