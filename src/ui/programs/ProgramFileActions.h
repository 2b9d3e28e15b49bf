#pragma once

// The four program file actions of the editor: load or save the working
// state as a one-program file, load all programs from a file and send them
// to the device, save all programs read from the device. Each asks the
// chooser for the path (the loads also take one given on the command line),
// has the session's program files do the work, tells the user what went
// wrong, and reports whether it succeeded; the window refreshes itself after
// a load.

#include <QString>

#include "editor/ProgramFiles.h"
#include "ui/programs/FileChooser.h"

class QWidget;

namespace orvane::ui {

class ProgramFileActions {
 public:
  ProgramFileActions(editor::EditorSession& session, FileChooser& chooser, QWidget* parent);

  // The file replaces the working state; with a link it is also stored as
  // the device's working state.
  bool loadOne();
  // The same for a path already chosen (a file named on the command line).
  bool loadOneFrom(const QString& path);
  bool saveOne();
  // Needs a link: the program store from the file, then all thirty
  // programs sent.
  bool loadAll();
  // The program store from the file at `path`; the programs are sent only
  // while a link is open.
  bool loadAllFrom(const QString& path);
  // After the device's programs were read: the program store to a file.
  bool saveAll();

 private:
  // True when done; else the user is told why, where there is anything to
  // tell (a lock has taken the action's control away already).
  bool told(const editor::ProgramOperations::Result& result) const;

  editor::EditorSession& session_;
  FileChooser& chooser_;
  QWidget* parent_;
};

}  // namespace orvane::ui
