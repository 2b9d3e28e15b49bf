#pragma once

// A part of the main window: the strips of one side, the master section, the
// crosspoints, the graph area, the page area, the tool bar and the pages and
// dialogs still to join them. The window refreshes itself from the parameter
// image, switches language and applies the function locks by walking over its
// parts, so a new part takes part in all three by implementing this. A part
// overrides only what concerns it.

#include "model/LockState.h"

namespace orvane::ui {

class WindowPart {
 public:
  virtual ~WindowPart() = default;

  // Shows what the parameter image holds now.
  virtual void refreshFromImage() {}
  // Shows the texts of the current language.
  virtual void applyLanguage() {}
  // Disables (and, where a value would show, marks "Lock") the controls of
  // every function locked in `locks`.
  virtual void applyLocks(const LockState& locks) { (void)locks; }
};

}  // namespace orvane::ui
