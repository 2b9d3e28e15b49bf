#include "model/StartupProgram.h"

#include <algorithm>

namespace orvane {

StartupProgram::StartupProgram(std::uint8_t stored) : index_(std::min<int>(stored, kLastProgram)) {}

bool StartupProgram::select(int index) {
  const int wanted = std::clamp(index, 0, kLastProgram);
  if (wanted == index_) return false;
  index_ = wanted;
  return true;
}

}  // namespace orvane
