#include "ui/main/Console.h"

#include <QFrame>
#include <QGridLayout>
#include <QVBoxLayout>
#include <initializer_list>

#include "ui/main/CrosspointGrid.h"
#include "ui/main/GraphArea.h"
#include "ui/main/MasterPanel.h"
#include "ui/main/StripBank.h"
#include "ui/pages/InDataDlg.h"
#include "ui/pages/InMicDlg.h"
#include "ui/pages/OutDataDlg.h"

namespace orvane::ui {

// Inputs as rows down the left, the master section below them, outputs as
// columns along the bottom, and between them the crosspoints, the graph and
// the page area.
Console::Console(ParameterImage& image, LinkGroups& links, MasterSection& master, ChannelFilters& filters,
                 QWidget* window)
    : image_(image), links_(links), filters_(filters) {
  area_ = new QWidget(window);
  auto* grid = new QGridLayout(area_);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  inputs_ = new StripBank(Side::Input, image_, links_, area_);
  outputs_ = new StripBank(Side::Output, image_, links_, area_);
  masterPanel_ = new MasterPanel(master, image_, area_);
  grid->addWidget(inputs_, 0, 0);
  grid->addWidget(buildWorkArea(area_), 0, 1);
  grid->addWidget(masterPanel_, 1, 0);
  grid->addWidget(outputs_, 1, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(0, 1);
}

CFStatic* Console::graph() const {
  return graphArea_->graph();
}

ChannelPage* Console::channelPage(Side side) const {
  if (side == Side::Input) return inputPage_;
  return outputPage_;
}

std::vector<WindowPart*> Console::parts() const {
  return {inputs_, outputs_, masterPanel_, crosspoints_, graphArea_, matrixPage_, inputPage_, outputPage_};
}

// The crosspoints beside the response graph; the editing page goes below.
QWidget* Console::buildWorkArea(QWidget* parent) {
  auto* work = new QWidget(parent);
  work->setObjectName("workArea");
  auto* grid = new QGridLayout(work);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  crosspoints_ = new CrosspointGrid(image_, work);
  grid->addWidget(crosspoints_, 0, 0);
  graphArea_ = new GraphArea(image_, filters_, work);
  grid->addWidget(graphArea_, 0, 1);
  pageArea_ = new QFrame(work);
  pageArea_->setObjectName("pageArea");
  pageArea_->setFrameShape(QFrame::StyledPanel);
  pageArea_->setFocusPolicy(Qt::ClickFocus);
  buildPages();
  grid->addWidget(pageArea_, 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);
  return work;
}

// The three pages share the page area; one shows at a time.
void Console::buildPages() {
  auto* layout = new QVBoxLayout(pageArea_);
  layout->setContentsMargins(2, 2, 2, 2);
  matrixPage_ = new InMicDlg(image_, pageArea_);
  inputPage_ = new InDataDlg(image_, filters_, links_, pageArea_);
  outputPage_ = new OutDataDlg(image_, filters_, links_, pageArea_);
  for (QWidget* page : std::initializer_list<QWidget*>{matrixPage_, inputPage_, outputPage_}) {
    page->hide();
    layout->addWidget(page);
  }
}

}  // namespace orvane::ui
