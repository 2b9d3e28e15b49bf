#pragma once

// The editor's main window: the tool bar with its status fields, the
// progress bar, the transfer popup, and the console below them (the strips
// of both sides with their meters, the master section, the crosspoints, the
// graph area and the page area). It holds the editor session (the link
// machinery, link groups, master section and filter models on the image)
// and creates the parts that do the work, then wires them:
// LinkReactions handles what the link reports, PageSelection the page shown,
// ToolDialogs and ProgramWorkflow the dialogs and files of the tool bar,
// HelpActions the help and about buttons, GestureSteps and HistoryActions
// the steps of the edit history and their undo and redo. Refreshing,
// switching language and applying locks walk over the parts.

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "editor/EditorSession.h"
#include "model/EditorState.h"
#include "ui/compare/CompareDlg.h"
#include "ui/locks/LockDataDlg.h"
#include "ui/locks/PasswordStepDlg.h"
#include "ui/main/LinkReactions.h"
#include "ui/main/QtNotifier.h"
#include "ui/main/TopBar.h"
#include "ui/programs/ProgramDlg.h"
#include "ui/report/DataViewDlg.h"
#include "ui/settings/SetupDialog.h"
#include "ui/widgets/WheelGuard.h"

namespace orvane::ui {

class Console;
class DisplayDlg;
class GestureSteps;
class GradientProgressCtrl;
class HistoryActions;
class PageSelection;
class ProgramWorkflow;
class ToolDialogs;
class WindowPart;
class WindowParts;

class OrvaneDlg : public QWidget {
  Q_OBJECT

 public:
  // Gives `command` its three transports.
  using TransportFactory = editor::EditorSession::TransportFactory;
  using PortLister = LinkReactions::PortLister;

  // The window of `variant`'s model: its title, set-up dialog, firmware,
  // program files and help.
  OrvaneDlg(ParameterImage& image, TransportFactory transports, PortLister ports, Timings timings = {},
            const ProductVariant& variant = ProductVariant::builtDefault());
  ~OrvaneDlg() override;

  // A program file named on the command line, taken as the program
  // manager's PC actions take it: a file name with the all-programs
  // extension fills the program store, any other is read as one program
  // into the working state.
  void openProgramFile(const QString& path);
  // Connects as if the user had chosen this link in the connection dialog.
  bool connectTo(LinkType link, const QString& address, int deviceId);
  void disconnectLink();

  // The status fields: no link, the device's program, or a program file.
  void RefreshStatus(TopBar::Status status);
  // Every part shows the image anew, then the locks apply.
  void RefreshAll();
  void ApplyLanguage();
  // The matrix page, or the page of input or output `channel`; moves the
  // strip highlight and points the master section at the side shown.
  void SelectPage(Page page, int channel);
  void ApplyLocks();
  // Shows the image's gain of one channel in its strip (after a page
  // changed it).
  void RefreshInputGain(int channel);
  void RefreshOutputGain(int channel);

  // The help document of the model in the current language; empty when
  // none is found.
  QString helpFile() const;

 signals:
  void connectDialogOpened(ConnectDlg* dialog);
  // The dialogs behind the lock button, as each opens.
  void lockStepOpened(PasswordStepDlg* dialog);
  void lockDialogOpened(LockDataDlg* dialog);
  void programDialogOpened(ProgramDlg* dialog);
  void reportOpened(DataViewDlg* dialog);
  void settingsOpened(SetupDialog* dialog);
  void comparisonOpened(CompareDlg* dialog);

 public slots:
  void onLinkButton();
  void onLanguageButton();
  void onHelp();
  void onAbout();
  // The lock button: the password dialogs, then the lock selection; new
  // locks are sent to the device and take effect at once.
  void onLock();
  // The settings button: the set-up dialog of the model, or a warning while
  // the settings are locked. While it is open the worker serves the queue
  // during idle passes, and a lost link closes it.
  void onSetting();
  // The programs button: the program manager.
  void onPrograms();
  // The report button: every parameter in one table.
  void onReport();
  // The compare button: the comparison of programs.
  void onCompare();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Tests and the screenshot mode reach the parts through it.
  friend class WindowParts;

  void buildWindow();
  void wireConsole();
  void wireReactions();
  void wireTools();
  void wireHistory();
  void onLinkEnded();
  void onLevels();

  ParameterImage& image_;
  // Hears the core's reports on the session's behalf; outlives it.
  QtNotifier notifier_;
  editor::EditorSession session_;
  WheelGuard wheelGuard_;
  LinkReactions* reactions_ = nullptr;
  std::unique_ptr<ProgramWorkflow> programs_;
  std::unique_ptr<ToolDialogs> tools_;
  // Filters of the application: made after the window's own filters so
  // they see each event first, and gone before the session.
  std::unique_ptr<GestureSteps> gestures_;
  std::unique_ptr<HistoryActions> history_;

  TopBar* topBar_ = nullptr;
  GradientProgressCtrl* progress_ = nullptr;
  DisplayDlg* popup_ = nullptr;
  std::unique_ptr<Console> console_;
  std::unique_ptr<PageSelection> pages_;
  std::vector<WindowPart*> parts_;
};

}  // namespace orvane::ui
