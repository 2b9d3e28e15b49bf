#include <gtest/gtest.h>

#include <filesystem>

#include "sim/DeviceStateFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScratchDir.h"

namespace orvane {
namespace {

// A disk that fills up half way through a save (a file size limit of the
// process stands in for it) leaves the earlier state file as it was.
TEST(DeviceStateFileSave, AFailedSaveKeepsTheEarlierState) {
  ScratchDir dir{"sim-state"};
  const std::string path = dir.file("device.bin");
  DeviceData earlier;
  earlier.deviceId = 7;
  ASSERT_FALSE(DeviceStateFile::save(path, earlier));
  DeviceData later;
  later.deviceId = 8;
  std::optional<std::string> error;
  {
    const FileSizeLimit fullDisk(1000);
    error = DeviceStateFile::save(path, later);
  }
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, "cannot write " + path + ": File too large; the file that was there is kept unchanged");
  DeviceData loaded;
  ASSERT_FALSE(DeviceStateFile::load(path, loaded));
  EXPECT_EQ(loaded.deviceId, 7);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")), {}), 1);
}

}  // namespace
}  // namespace orvane
