#include "model/LockSelection.h"

#include <algorithm>

namespace orvane {

namespace {

using namespace LockFlag;

constexpr std::array<int, 14> kInputShown{
    InputLabel, InputMute,     InputDelay, InputPolarity, InputGain, InputMainVolume, MainFeedback,
    NoiseGate,  InputFeedback, Matrix,     InputDynamics, InputEq,   InputCrossover,  InputLink};
constexpr std::array<int, 15> kInputAll{InputLabel,    InputMute,       InputDelay,   InputGain,
                                        InputPolarity, InputMainVolume, MainFeedback, Priority,
                                        NoiseGate,     InputFeedback,   Matrix,       InputDynamics,
                                        InputEq,       InputCrossover,  InputLink};
constexpr std::array<int, 10> kOutputAll{OutputLabel,     OutputMute,       OutputDelay,    OutputPolarity,
                                         OutputGain,      OutputMainVolume, OutputDynamics, OutputEq,
                                         OutputCrossover, OutputLink};
constexpr std::array<int, 5> kSystemShown{LoadProgram, SaveProgram, DeleteProgram, DeviceId, Settings};
constexpr std::array<int, 9> kSystemAll{LoadProgram, SaveProgram, DeleteProgram, CopyProgram, DeviceId,
                                        Settings,    BackLight,   KeyEdit,       PowerOn};

std::size_t at(int flag) {
  return static_cast<std::size_t>(flag);
}

}  // namespace

LockSelection::LockSelection(const LockState& locks) : working_(locks.bytes), fixed_(locks.deviceLock) {}

std::span<const int> LockSelection::shownFlags(LockGroup group) {
  switch (group) {
    case LockGroup::Input:
      return kInputShown;
    case LockGroup::Output:
      return kOutputAll;
    default:
      return kSystemShown;
  }
}

std::span<const int> LockSelection::allFlags(LockGroup group) {
  switch (group) {
    case LockGroup::Input:
      return kInputAll;
    case LockGroup::Output:
      return kOutputAll;
    default:
      return kSystemAll;
  }
}

std::span<const int> LockSelection::selectAllFlags(LockGroup group) {
  return group == LockGroup::Input ? std::span<const int>(kInputShown) : shownFlags(group);
}

bool LockSelection::isLocked(int flag) const {
  return flag >= 0 && flag < static_cast<int>(LockState::kFlagCount) && working_[at(flag)] != 0;
}

bool LockSelection::isFixed(int flag) const {
  return flag >= 0 && flag < static_cast<int>(LockState::kFlagCount) && fixed_[at(flag)] != 0;
}

void LockSelection::set(int flag, bool locked) {
  if (flag < 0 || flag >= static_cast<int>(LockState::kFlagCount) || isFixed(flag)) return;
  working_[at(flag)] = locked ? 1 : 0;
}

bool LockSelection::allSelected(LockGroup group) const {
  return std::ranges::all_of(selectAllFlags(group), [this](int flag) { return isLocked(flag); });
}

bool LockSelection::selectAllFixed(LockGroup group) const {
  if (group == LockGroup::System) return false;
  return std::ranges::all_of(selectAllFlags(group), [this](int flag) { return isFixed(flag); });
}

// The input box also sets the hidden priority flag; the system box only the
// five operations it shows.
void LockSelection::selectAll(LockGroup group, bool locked) {
  const std::span<const int> flags = group == LockGroup::System ? shownFlags(group) : allFlags(group);
  for (int flag : flags) set(flag, locked);
}

void LockSelection::storeInto(LockState& locks) const {
  std::copy_n(working_.begin(), LockState::kFlagCount, locks.bytes.begin());
}

}  // namespace orvane
