#pragma once

// The master level each side goes back to when a program without a window
// unmutes it. Such a program may unmute a side it never heard sounding: a
// separate call after the one that muted it, or a link opened anew, where
// the device reads as muted and the editor's default memo would bring the
// room to -48 dB. So it remembers the last level it saw each side sound
// at, for as long as it lives (across links), and where it saw none it
// leaves the level to restore unknown: the unmute is then refused.
//
// The changes of one program run one at a time (the session is held for
// each), so it needs no lock of its own.

#include <array>
#include <optional>

#include "model/ParameterImage.h"

namespace orvane {

class MasterSectionMemory {
 public:
  std::optional<int> level(Side side) const { return levels_[index(side)]; }
  // A level of 0 (muted) is not remembered.
  void remember(Side side, int level);
  // Remembers the levels the sides sound at in `image`.
  void learn(const ParameterImage& image);
  // Before a change: learns from `image`, then gives its memos the levels
  // known, 0 (unknown) where none is.
  void prime(ParameterImage& image);

  bool operator==(const MasterSectionMemory&) const = default;

 private:
  static std::size_t index(Side side) { return side == Side::Input ? 0 : 1; }

  std::array<std::optional<int>, 2> levels_;
};

}  // namespace orvane
