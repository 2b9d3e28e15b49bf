#pragma once

// The editor as a program: prepares the process (language, look, the
// program-file folder), reads the command line and runs the main window.

namespace orvane::ui {

class OrvaneApp {
 public:
  // The process's exit status.
  static int run(int argc, char** argv);
};

}  // namespace orvane::ui
