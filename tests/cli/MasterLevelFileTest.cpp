#include <gtest/gtest.h>

#include <fstream>

#include "cli/MasterLevelFile.h"
#include "support/ScratchDir.h"

namespace orvane::cli {
namespace {

// One file per link in the user's state folder; none without one. The
// levels written there are read back; a file that is damaged, or holds
// levels no master takes, knows nothing about them.
TEST(MasterLevelFileTest, OneFilePerLinkKeepsTheLevelsAndDistrustsAnythingElse) {
  ScratchDir dir{"master-level-file"};
  const std::string state = dir.file("state"), other = dir.file("other");
  const std::optional<int> none;
  struct Case {
    const char* link;
    std::optional<std::filesystem::path> folder;
    std::string path;      // empty: no file
    const char* contents;  // nullptr: the output level below, as written
    std::optional<int> in, out;
  };
  const Case cases[] = {
      {"net:127.0.0.1:8899", state, state + "/orvane/master-net-127.0.0.1-8899.json", nullptr, none, 500},
      {"net:127.0.0.1", other, other + "/orvane/master-net-127.0.0.1.json", "{\"in\": 720, \"out\": 1}", 720,
       1},
      {"serial:/dev/ttyUSB0:3", other, other + "/orvane/master-serial--dev-ttyUSB0-3.json",
       "{\"in\": 721, \"out\": 0}", none, none},
      {"usb", other, other + "/orvane/master-usb.json", "{\"in\": -5, \"out\": \"500\"}", none, none},
      {"usb", state, state + "/orvane/master-usb.json", "{\"out\": 300", none, none},
      {"usb", state, state + "/orvane/master-usb.json", "[300, 400]", none, none},
      {"usb", std::nullopt, "", nullptr, none, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.contents ? c.contents : c.link);
    const auto file = MasterLevelFile::of(*ConnectTarget::parse(c.link), c.folder);
    EXPECT_EQ(file ? file->path().string() : "", c.path);
    if (!file || c.path.empty()) continue;
    if (c.contents) {
      std::filesystem::create_directories(file->path().parent_path());
      std::ofstream(file->path()) << c.contents;
    } else {
      MasterSectionMemory kept;
      kept.remember(Side::Output, c.out.value());
      ASSERT_EQ(file->write(kept), "");
    }
    const MasterSectionMemory read = file->read();
    EXPECT_EQ(read.level(Side::Input), c.in);
    EXPECT_EQ(read.level(Side::Output), c.out);
  }
}

}  // namespace
}  // namespace orvane::cli
