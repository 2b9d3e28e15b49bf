#pragma once

// The working copy the lock dialog edits: which function and system locks
// are ticked, which of them came with the device's data and so cannot be
// cleared, and the rules of the three "select all" boxes.

#include <array>
#include <span>

#include "model/LockState.h"

namespace orvane {

enum class LockGroup { Input, Output, System };

class LockSelection {
 public:
  explicit LockSelection(const LockState& locks);

  // The flags a group shows as boxes, in the order they are shown.
  static std::span<const int> shownFlags(LockGroup group);
  // The flags a group holds, hidden ones included.
  static std::span<const int> allFlags(LockGroup group);

  bool isLocked(int flag) const;
  // Came with the device's data: the box is checked and cannot be changed.
  bool isFixed(int flag) const;
  // Ticks or clears one box; a fixed box keeps its state.
  void set(int flag, bool locked);

  // Whether the group's "select all" box shows checked: every flag of the
  // group is set (the input group's hidden priority flag does not count;
  // for the system group only the five operations that box sets count).
  bool allSelected(LockGroup group) const;
  // The input and output "select all" boxes take no input when every flag
  // they stand for is fixed.
  bool selectAllFixed(LockGroup group) const;
  // Sets every changeable flag the group's "select all" box stands for.
  void selectAll(LockGroup group, bool locked);

  // The flags as chosen, the password bytes as they were.
  void storeInto(LockState& locks) const;

 private:
  static std::span<const int> selectAllFlags(LockGroup group);

  std::array<std::uint8_t, LockState::kLockBytes> working_;
  std::array<std::uint8_t, LockState::kFlagCount> fixed_;
};

}  // namespace orvane
