#pragma once

// The way tests and the screenshot mode reach the parts of the main window:
// its strips, meters, pages, graph, tool bar, transfer popup and the link
// machinery behind them. It is not part of the window's interface; the
// window's own operations (connecting, refreshing, selecting a page, ...)
// stay on OrvaneDlg. A WindowParts is a view of one window and lives no
// longer than it.

#include <QString>
#include <memory>

#include "ui/main/Console.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/programs/FileChooser.h"

class QPushButton;

namespace orvane::ui {

class ChannelStrip;
class SLamp;

class WindowParts {
 public:
  explicit WindowParts(OrvaneDlg& window) : window_(window) {}

  StripBank* bank(Side side) const { return window_.console_->bank(side); }
  ChannelStrip* inputStrip(int channel) const;
  ChannelStrip* outputStrip(int channel) const;
  SLamp* inputMeter(int channel) const;
  SLamp* outputMeter(int channel) const;
  MasterPanel* masterPanel() const { return window_.console_->masterPanel(); }
  CrosspointGrid* crosspointGrid() const { return window_.console_->crosspoints(); }
  CFStatic* graph() const { return window_.console_->graph(); }
  InMicDlg* matrixPage() const { return window_.console_->matrixPage(); }
  InDataDlg* inputPage() const { return window_.console_->inputPage(); }
  OutDataDlg* outputPage() const { return window_.console_->outputPage(); }
  ChannelFilters& filters() const { return window_.session_.filters(); }
  TopBar* topBar() const { return window_.topBar_; }
  GradientProgressCtrl* progressBar() const { return window_.progress_; }
  DisplayDlg* transferPopup() const { return window_.popup_; }
  editor::EditorSession& session() const { return window_.session_; }
  LinkGroups& linkGroups() const { return window_.session_.links(); }
  MasterSection& masterSection() const { return window_.session_.master(); }
  ConnectionManager& connection() const { return window_.session_.connection(); }
  LinkReactions& reactions() const { return *window_.reactions_; }
  Command& command() const { return window_.session_.command(); }
  QtNotifier& notifier() const { return window_.notifier_; }
  // The text of one status field of the tool bar (TopBar::kNameField, ...).
  QString statusText(int field) const;
  // Where the program file actions take their paths from.
  void setFileChooser(std::unique_ptr<FileChooser> chooser) const;
  QPushButton* linkButton() const;
  QPushButton* languageButton() const;

 private:
  OrvaneDlg& window_;
};

}  // namespace orvane::ui
