#include "ui/main/PageSelection.h"

#include <optional>

#include "ui/graphs/CFStatic.h"
#include "ui/main/Console.h"
#include "ui/main/CrosspointGrid.h"
#include "ui/main/GraphArea.h"
#include "ui/main/MasterPanel.h"
#include "ui/main/StripBank.h"
#include "ui/main/TopBar.h"
#include "ui/pages/InDataDlg.h"
#include "ui/pages/InMicDlg.h"
#include "ui/pages/OutDataDlg.h"

namespace orvane::ui {

PageSelection::PageSelection(ParameterImage& image, const Console& console, TopBar& topBar)
    : image_(image), console_(console), topBar_(topBar) {}

void PageSelection::select(Page page, int channel) {
  CFStatic* graph = console_.graph();
  graph->FlushNotification();
  const EditorState editor = image_.read([](const ImageData& d) { return d.editor; });
  const int selected = page == Page::Input ? editor.selectedInput : editor.selectedOutput;
  if (page == editor.selectedPage && (page == Page::Matrix || channel == selected)) return;
  image_.modify([&](ImageData& d) {
    d.editor.selectedPage = page;
    if (page == Page::Input) d.editor.selectedInput = channel;
    if (page == Page::Output) d.editor.selectedOutput = channel;
  });
  console_.bank(Side::Input)->showSelection(page == Page::Input ? std::optional(channel) : std::nullopt);
  console_.bank(Side::Output)->showSelection(page == Page::Output ? std::optional(channel) : std::nullopt);
  // The page leaving is hidden before the one coming is shown, so the
  // window never needs room for both.
  InDataDlg* inputPage = console_.inputPage();
  OutDataDlg* outputPage = console_.outputPage();
  if (page != Page::Input) inputPage->hide();
  if (page != Page::Output) outputPage->hide();
  showMatrixArea(page != Page::Matrix);
  if (page == Page::Matrix) console_.matrixPage()->ShowAll();
  if (page == Page::Input) inputPage->ShowChannel(channel);
  if (page == Page::Output) outputPage->ShowChannel(channel);
  inputPage->setVisible(page == Page::Input);
  outputPage->setVisible(page == Page::Output);
  // Leaving the matrix page, the crosspoint buttons show the levels it set.
  if (editor.selectedPage == Page::Matrix) console_.crosspoints()->refreshFromImage();
  MasterPanel* master = console_.masterPanel();
  master->refreshFromImage();
  master->applyLocks(image_.read([](const ImageData& d) { return d.locks; }));
  if (page == Page::Input) graph->ShowInput(channel);
  if (page == Page::Output) graph->ShowOutput(channel);
}

void PageSelection::followGraphChange(int index, int mode) {
  if (mode == CFStatic::kInput) console_.inputPage()->OnGraphChanged(index);
  if (mode == CFStatic::kOutput) console_.outputPage()->OnGraphChanged(index);
}

void PageSelection::followGraphDrag(int index, int mode) {
  if (mode == CFStatic::kInput) console_.inputPage()->OnGraphDragging(index);
  if (mode == CFStatic::kOutput) console_.outputPage()->OnGraphDragging(index);
}

void PageSelection::showStripEdit(Side side) {
  ChannelPage* page = console_.channelPage(side);
  if (!page->isVisible()) return;
  page->refreshFromImage();
  console_.graph()->Redraw(-1);
}

// What goes away is hidden first, so the window never needs room for both
// at once (a window too small for both would grow).
void PageSelection::showMatrixArea(bool on) {
  InMicDlg* matrixPage = console_.matrixPage();
  if (on) matrixPage->hide();
  console_.crosspoints()->setVisible(on);
  console_.graphArea()->setVisible(on);
  topBar_.showTools(on);
  matrixPage->setVisible(!on);
}

}  // namespace orvane::ui
