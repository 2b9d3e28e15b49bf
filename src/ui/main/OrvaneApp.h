#pragma once

// The editor as a program: prepares the process (language, look, the
// program-file folder), reads the command line and runs the main window.

class QApplication;

namespace orvane::ui {

class OrvaneApp {
 public:
  // The process's exit status.
  static int run(int argc, char** argv);
  // The dark console style and palette every window of the editor wears.
  static void applyConsoleLook(QApplication& app);
};

}  // namespace orvane::ui
