#include "ui/main/ProgramWorkflow.h"

#include <QFile>
#include <QFileInfo>

#include "ui/common/MessageBoxes.h"
#include "ui/pages/ChannelPage.h"
#include "ui/pages/EqSection.h"
#include "ui/programs/DialogFileChooser.h"
#include "ui/programs/ProgramFileActions.h"
#include "ui/programs/ProgramTexts.h"

namespace orvane::ui {

namespace {

// Filter exports are a few kilobytes; a larger file is not one.
constexpr qint64 kMaxRewFileBytes = 1 << 20;

}  // namespace

ProgramWorkflow::ProgramWorkflow(editor::EditorSession& session, QWidget* window)
    : session_(session),
      window_(window),
      chooser_(std::make_unique<DialogFileChooser>(window, session.variant())) {}

void ProgramWorkflow::openManager() {
  ProgramDlg dialog(
      session_, [this](ProgramDlg::PcAction action) { runPcAction(action); }, window_);
  emit programDialogOpened(&dialog);
  dialog.exec();
  if (dialog.programChosen())
    emit statusChanged(session_.connection().isConnected() ? TopBar::Status::DeviceProgram
                                                           : TopBar::Status::Offline);
}

void ProgramWorkflow::openFile(const QString& path) {
  ProgramFileActions files(session_, *chooser_, window_);
  if (QFileInfo(path).fileName().contains(extensionOf(ProgramFileKind::AllPrograms, session_.variant())))
    files.loadAllFrom(path);
  else if (files.loadOneFrom(path))
    showLoadedProgram();
}

void ProgramWorkflow::saveAllPrograms() {
  ProgramFileActions(session_, *chooser_, window_).saveAll();
}

void ProgramWorkflow::importRewFilters(ChannelPage& page) {
  const QString path = chooser_->openFile(ProgramFileKind::RewFilters);
  if (path.isEmpty()) return;
  QFile file(path);
  if (file.size() > kMaxRewFileBytes || !file.open(QIODevice::ReadOnly)) {
    MessageBoxes::inform(window_, ProgramTexts::kFileReadError);
    return;
  }
  const QByteArray text = file.readAll();
  // One step of the history, named after the bands it changed.
  const std::string refused = session_.history().record(
      [&] {
        return page.eq()->importFilters(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
      },
      [] { return editor::StepName(); });
  if (!refused.empty()) MessageBoxes::inform(window_, QString::fromStdString(refused));
}

void ProgramWorkflow::openComparison() {
  CompareDlg dialog(session_, *chooser_, window_);
  comparison_ = &dialog;
  connect(&dialog, &CompareDlg::valuesTaken, this, &ProgramWorkflow::valuesTaken);
  emit comparisonOpened(&dialog);
  dialog.exec();
}

void ProgramWorkflow::linkEnded() {
  if (comparison_) comparison_->linkEnded();
}

// A loaded or saved program file names the working state; the number shows
// "PC". Saving all first reads the device's programs; the file is written
// when they are in (saveAllPrograms).
void ProgramWorkflow::runPcAction(ProgramDlg::PcAction action) {
  ProgramFileActions files(session_, *chooser_, window_);
  switch (action) {
    case ProgramDlg::LoadOne:
      if (files.loadOne()) showLoadedProgram();
      break;
    case ProgramDlg::SaveOne:
      if (files.saveOne()) emit statusChanged(TopBar::Status::ProgramFile);
      break;
    case ProgramDlg::LoadAll:
      files.loadAll();
      break;
    case ProgramDlg::SaveAll:
      editor::ProgramFiles::readAll(session_, editor::ProgramOperations::Until::Queued);
      break;
  }
}

// Every control shows the loaded working state, "PC" stands for the program
// number.
void ProgramWorkflow::showLoadedProgram() {
  emit programLoaded();
  emit statusChanged(TopBar::Status::ProgramFile);
}

}  // namespace orvane::ui
