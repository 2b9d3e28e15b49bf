#include <gtest/gtest.h>

#include "model/LockSelection.h"
#include "model/Password.h"

namespace orvane {
namespace {

LockState lockedBy(std::initializer_list<int> flags, std::initializer_list<int> fixed = {}) {
  LockState locks;
  for (int flag : flags) locks.setLocked(flag, true);
  for (int flag : fixed) locks.deviceLock.at(static_cast<std::size_t>(flag)) = 1;
  return locks;
}

// The input box stands for flags 0-14 without the hidden priority flag, but
// sets that flag too; the system box only the five operations it shows.
TEST(LockSelection, SelectAllRules) {
  LockSelection selection(lockedBy({}));
  selection.selectAll(LockGroup::Input, true);
  for (int flag = 0; flag <= 14; ++flag) EXPECT_TRUE(selection.isLocked(flag)) << flag;
  EXPECT_FALSE(selection.isLocked(16));
  selection.set(LockFlag::Priority, false);
  EXPECT_TRUE(selection.allSelected(LockGroup::Input));
  selection.set(LockFlag::InputEq, false);
  EXPECT_FALSE(selection.allSelected(LockGroup::Input));

  selection.selectAll(LockGroup::System, true);
  for (int flag : {32, 33, 34, 36, 37}) EXPECT_TRUE(selection.isLocked(flag)) << flag;
  for (int flag : {35, 38, 39, 40}) EXPECT_FALSE(selection.isLocked(flag)) << flag;
  EXPECT_TRUE(selection.allSelected(LockGroup::System));
  selection.selectAll(LockGroup::Output, true);
  selection.selectAll(LockGroup::Output, false);
  EXPECT_FALSE(selection.isLocked(LockFlag::OutputLink));
}

// Locks that came with the device's data stay set whatever the boxes say,
// and a group of fixed locks has no "select all" to offer.
TEST(LockSelection, DeviceLocksCannotBeCleared) {
  LockState locks = lockedBy({LockFlag::InputEq, LockFlag::Settings}, {LockFlag::InputEq});
  locks.password = "ab12CD";
  LockSelection selection(locks);
  EXPECT_TRUE(selection.isFixed(LockFlag::InputEq));
  selection.set(LockFlag::InputEq, false);
  selection.selectAll(LockGroup::Input, false);
  EXPECT_TRUE(selection.isLocked(LockFlag::InputEq));
  selection.set(LockFlag::Settings, false);
  selection.storeInto(locks);
  EXPECT_TRUE(locks.isLocked(LockFlag::InputEq));
  EXPECT_FALSE(locks.isLocked(LockFlag::Settings));
  EXPECT_EQ(locks.password, "ab12CD");

  LockState allFixed;
  for (int flag : LockSelection::allFlags(LockGroup::Output))
    allFixed.deviceLock.at(static_cast<std::size_t>(flag)) = 1;
  EXPECT_TRUE(LockSelection(allFixed).selectAllFixed(LockGroup::Output));
  EXPECT_FALSE(LockSelection(allFixed).selectAllFixed(LockGroup::Input));
}

TEST(Password, MatchesCaseByCaseAndAcceptsOnlySixLettersOrDigitsTwice) {
  EXPECT_TRUE(Password::matches("Ab3dE9", "Ab3dE9"));
  EXPECT_FALSE(Password::matches("ab3dE9", "Ab3dE9"));
  EXPECT_FALSE(Password::matches("Ab3dE", "Ab3dE9"));
  EXPECT_FALSE(Password::matches("Ab3dE9x", "Ab3dE9"));
  EXPECT_FALSE(Password::matches("", "Ab3dE9"));
  EXPECT_TRUE(Password::acceptable("Ab3dE9", "Ab3dE9"));
  EXPECT_FALSE(Password::acceptable("Ab3dE9", "ab3dE9"));
  EXPECT_FALSE(Password::acceptable("Ab3dE", "Ab3dE"));
  EXPECT_FALSE(Password::acceptable("Ab3d-9", "Ab3d-9"));
  EXPECT_FALSE(Password::acceptable("Ab3d 9", "Ab3d 9"));
  for (char32_t c : {U'0', U'9', U'A', U'Z', U'a', U'z'}) EXPECT_TRUE(Password::isAllowed(c));
  for (char32_t c : {U' ', U'-', U'_', U'.', U'/', U':', U'@', U'[', U'`', U'{', U'锁'})
    EXPECT_FALSE(Password::isAllowed(c));
}

}  // namespace
}  // namespace orvane
