#pragma once

// The program the device loads when it starts (system item 24): 0 = the
// program it ran last, 1..30 = a device program. The value is also the index
// in the dialog's list of 31 entries. A value above 30 from a device is
// taken as 30.

#include <cstdint>

namespace orvane {

class StartupProgram {
 public:
  static constexpr int kLastProgram = 30;

  explicit StartupProgram(std::uint8_t stored);

  int index() const { return index_; }
  std::uint8_t stored() const { return static_cast<std::uint8_t>(index_); }
  // Takes a new list index (clamped to 0..30). False when it is the one
  // already held: a re-selection, nothing to send.
  bool select(int index);

 private:
  int index_;
};

}  // namespace orvane
