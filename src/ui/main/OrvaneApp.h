#pragma once

// The editor as a program: prepares the process (language, look, the
// program-file folder), reads the command line and runs the main window.

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>
#include <variant>

#include "link/ConnectTarget.h"
#include "model/ProductVariant.h"

class QApplication;

namespace orvane::ui {

class OrvaneDlg;

// What the command line asks of the editor at start.
struct StartOptions {
  ProductVariant variant = ProductVariant::builtDefault();
  std::optional<ConnectTarget> target;
  QString screenshot;
  // How long the screenshot mode waits for the device to be read.
  std::chrono::seconds screenshotWait{30};
  // A program file to open, as the program manager's "load from PC" would.
  QString programFile;
};

class OrvaneApp {
 public:
  // The process's exit status.
  static int run(int argc, char** argv);
  // The dark console style and palette every window of the editor wears.
  static void applyConsoleLook(QApplication& app);
  // The command line, program name first; the text to print when it is wrong.
  static std::variant<StartOptions, QString> parse(const QStringList& arguments);
  // Once the event loop runs: the program file into the editor, then the
  // link, so a file never goes to a device the user did not pick for it.
  static void start(OrvaneDlg& window, const StartOptions& options);
};

}  // namespace orvane::ui
