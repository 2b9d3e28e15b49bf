#pragma once

// The master section of the main window: the master level of all inputs or
// all outputs (written into all eight blocks of the side), the master mute
// that remembers the level it silenced, and the master anti-feedback switch
// of the inputs.

#include <optional>

#include "link/Command.h"

namespace orvane {

class MasterSection {
 public:
  MasterSection(ParameterImage& image, Command& command);

  int level(Side side) const;
  // The master level of `side`; the memo remembers it unless it is 0.
  void setLevel(Side side, int level);
  bool isMuted(Side side) const { return level(side) == 0; }
  // Mutes a sounding side, or brings back the remembered level; returns the
  // new level.
  int toggleMute(Side side);

  bool antiFeedback() const;
  // Writes the switch into all eight input blocks; the device copy of inputs
  // 1..7 takes it at once, so a single row (input 0, row 2) carries it.
  void setAntiFeedback(bool on);

  // The same changes on an image alone, for callers without the editor's
  // command (scripts): the worker's row comparison sends them. Without the
  // protocol lock around storeAntiFeedback the worker may send a few rows
  // of the other inputs as well.
  static int levelOf(const ParameterImage& image, Side side);
  static void storeLevel(ParameterImage& image, Side side, int level);
  // Mutes the side, or brings back the remembered level; returns the new
  // level. Nothing, and nothing changed, when a silent side is to sound
  // again but the level to restore is not known.
  static std::optional<int> storeMute(ParameterImage& image, Side side, bool muted);
  static bool antiFeedbackOf(const ParameterImage& image);
  static void storeAntiFeedback(ParameterImage& image, bool on);

 private:
  ParameterImage& image_;
  Command& command_;
};

}  // namespace orvane
