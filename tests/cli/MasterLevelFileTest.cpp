#include <gtest/gtest.h>

#include <fstream>

#include "cli/MasterLevelFile.h"
#include "support/ScratchDir.h"

namespace orvane::cli {
namespace {

// One file per link in the user's state folder: $XDG_STATE_HOME when it is
// an absolute path, else ~/.local/state; none without a home.
TEST(MasterLevelFileTest, OneFilePerLinkInTheStateFolder) {
  struct Case {
    const char* link;
    const char* stateHome;
    const char* home;
    const char* path;  // empty: no file
  };
  const Case cases[] = {
      {"net:127.0.0.1:8899", "/s", "/h", "/s/orvane/master-net-127.0.0.1-8899.json"},
      {"net:127.0.0.1", "relative", "/h", "/h/.local/state/orvane/master-net-127.0.0.1.json"},
      {"serial:/dev/ttyUSB0:3", nullptr, "/h", "/h/.local/state/orvane/master-serial--dev-ttyUSB0-3.json"},
      {"usb", "", "/h", "/h/.local/state/orvane/master-usb.json"},
      {"usb", nullptr, nullptr, ""},
      {"usb", nullptr, "", ""},
  };
  for (const Case& c : cases) {
    const auto file = MasterLevelFile::of(*ConnectTarget::parse(c.link), c.stateHome, c.home);
    EXPECT_EQ(file ? file->path().string() : "", c.path) << c.link;
  }
}

// The levels written are read back; a file that is damaged, or holds
// levels no master takes, knows nothing about them.
TEST(MasterLevelFileTest, KeepsTheLevelsAndDistrustsAnythingElse) {
  ScratchDir dir{"master-level-file"};
  const auto file = *MasterLevelFile::of(*ConnectTarget::parse("usb"), dir.file("state").c_str(), nullptr);
  MasterSectionMemory kept;
  kept.remember(Side::Output, 500);
  ASSERT_EQ(file.write(kept), "");
  EXPECT_EQ(file.read(), kept);

  struct Case {
    const char* contents;
    std::optional<int> in, out;
  };
  const Case cases[] = {
      {"{\"in\": 720, \"out\": 1}", 720, 1},
      {"{\"in\": 721, \"out\": 0}", std::nullopt, std::nullopt},
      {"{\"in\": -5, \"out\": \"500\"}", std::nullopt, std::nullopt},
      {"{\"out\": 300", std::nullopt, std::nullopt},
      {"[300, 400]", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    std::ofstream(file.path()) << c.contents;
    const MasterSectionMemory read = file.read();
    EXPECT_EQ(read.level(Side::Input), c.in) << c.contents;
    EXPECT_EQ(read.level(Side::Output), c.out) << c.contents;
  }
}

}  // namespace
}  // namespace orvane::cli
