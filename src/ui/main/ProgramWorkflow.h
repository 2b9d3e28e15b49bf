#pragma once

// The programs button and the main window's work with files: the program
// manager with its PC actions, a program file named on the command line, the
// device's programs written to a file once they are read, and a Room EQ
// Wizard filter file imported into a channel page, and the comparison of
// programs. All of them take their
// paths from one FileChooser (the desktop's dialogs; tests put a scripted one
// in its place). What the window shows afterwards it is told by signals.

#include <QObject>
#include <QPointer>
#include <memory>

#include "editor/EditorSession.h"
#include "ui/compare/CompareDlg.h"
#include "ui/main/TopBar.h"
#include "ui/programs/FileChooser.h"
#include "ui/programs/ProgramDlg.h"

class QWidget;

namespace orvane::ui {

class ChannelPage;

class ProgramWorkflow : public QObject {
  Q_OBJECT

 public:
  ProgramWorkflow(editor::EditorSession& session, QWidget* window);

  void setFileChooser(std::unique_ptr<FileChooser> chooser) { chooser_ = std::move(chooser); }
  // The program manager; a program chosen in it names the working state.
  void openManager();
  // A file name with the all-programs extension fills the program store,
  // any other is read as one program into the working state.
  void openFile(const QString& path);
  // The device's programs, all read, into a file the user names.
  void saveAllPrograms();
  // A filter file into the channel of `page`; a refused file is explained
  // and changes nothing.
  void importRewFilters(ChannelPage& page);
  // The comparison of programs; values taken in it are announced by
  // valuesTaken().
  void openComparison();
  // The link ended: an open comparison drops what it read from the device.
  void linkEnded();

 signals:
  void programDialogOpened(orvane::ui::ProgramDlg* dialog);
  void comparisonOpened(orvane::ui::CompareDlg* dialog);
  // Values of a compared program were taken into the working state.
  void valuesTaken();
  // A program file is the working state now: every control shows it anew.
  void programLoaded();
  // What the status fields name now.
  void statusChanged(orvane::ui::TopBar::Status status);

 private:
  void runPcAction(ProgramDlg::PcAction action);
  void showLoadedProgram();

  editor::EditorSession& session_;
  QWidget* window_;
  std::unique_ptr<FileChooser> chooser_;
  // The comparison while it is open.
  QPointer<CompareDlg> comparison_;
};

}  // namespace orvane::ui
