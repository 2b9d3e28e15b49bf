#include "ui/main/OrvaneDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/graphs/CFStatic.h"
#include "ui/main/Console.h"
#include "ui/main/CrosspointGrid.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/GestureSteps.h"
#include "ui/main/HelpActions.h"
#include "ui/main/HistoryActions.h"
#include "ui/main/PageSelection.h"
#include "ui/main/ProgramWorkflow.h"
#include "ui/main/StripBank.h"
#include "ui/main/ToolDialogs.h"
#include "ui/pages/ChannelPage.h"
#include "ui/widgets/GradientProgressCtrl.h"

namespace orvane::ui {

OrvaneDlg::OrvaneDlg(ParameterImage& image, TransportFactory transports, PortLister ports, Timings timings,
                     const ProductVariant& variant)
    : image_(image),
      session_(image, {.timings = timings,
                       .transports = std::move(transports),
                       .notifier = &notifier_,
                       .variant = variant}) {
  setObjectName("OrvaneDlg");
  reactions_ = new LinkReactions(session_, notifier_, std::move(ports), this);
  programs_ = std::make_unique<ProgramWorkflow>(session_, this);
  buildWindow();
  popup_ = new DisplayDlg(this);
  tools_ = std::make_unique<ToolDialogs>(image_, session_.command(), session_.filters(), *topBar_,
                                         session_.variant(), this);
  pages_ = std::make_unique<PageSelection>(image_, *console_, *topBar_);
  wireConsole();
  wireReactions();
  wireTools();
  qApp->installEventFilter(this);
  qApp->installEventFilter(&wheelGuard_);
  wireHistory();
  ApplyLanguage();
  // The window opens on the input page of input 0.
  image_.modify([](ImageData& d) { d.editor.selectedPage = Page::Matrix; });
  SelectPage(Page::Input, 0);
  RefreshAll();
}

OrvaneDlg::~OrvaneDlg() {
  qApp->removeEventFilter(&wheelGuard_);
  qApp->removeEventFilter(this);
}

void OrvaneDlg::closeEvent(QCloseEvent* event) {
  if (session_.connection().isConnected()) reactions_->endLink();
  event->accept();
}

// --- building and wiring ------------------------------------------------------

void OrvaneDlg::buildWindow() {
  const std::string_view title = session_.variant().windowTitle;
  setWindowTitle(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  topBar_ = new TopBar(image_, reactions_->choices(), this);
  connect(topBar_, &TopBar::helpClicked, this, &OrvaneDlg::onHelp);
  connect(topBar_, &TopBar::aboutClicked, this, &OrvaneDlg::onAbout);
  connect(topBar_, &TopBar::deviceIdClicked, reactions_, &LinkReactions::onDeviceId);
  connect(topBar_, &TopBar::settingClicked, this, &OrvaneDlg::onSetting);
  connect(topBar_, &TopBar::lockClicked, this, &OrvaneDlg::onLock);
  connect(topBar_, &TopBar::programsClicked, this, &OrvaneDlg::onPrograms);
  connect(topBar_, &TopBar::reportClicked, this, &OrvaneDlg::onReport);
  connect(topBar_, &TopBar::compareClicked, this, &OrvaneDlg::onCompare);
  connect(topBar_, &TopBar::linkClicked, this, &OrvaneDlg::onLinkButton);
  connect(topBar_, &TopBar::languageClicked, this, &OrvaneDlg::onLanguageButton);
  layout->addWidget(topBar_);
  progress_ = new GradientProgressCtrl(this);
  progress_->setObjectName("progress");
  progress_->setFixedHeight(8);
  layout->addWidget(progress_);
  console_ = std::make_unique<Console>(image_, session_.links(), session_.master(), session_.filters(), this);
  layout->addWidget(console_->area(), 1);
  parts_ = console_->parts();
  parts_.insert(parts_.begin(), topBar_);
}

// The strips and the crosspoints choose the page; the page shown follows
// the graph and the strips; the strips and the pages redraw the graph, and a
// page's gain change shows in its strip.
void OrvaneDlg::wireConsole() {
  PageSelection* pages = pages_.get();
  CFStatic* graph = console_->graph();
  for (const Side side : {Side::Input, Side::Output}) {
    StripBank* bank = console_->bank(side);
    ChannelPage* page = console_->channelPage(side);
    const Page shown = side == Side::Input ? Page::Input : Page::Output;
    connect(bank, &StripBank::selectRequested, pages, [pages, shown](int n) { pages->select(shown, n); });
    connect(bank, &StripBank::curvesChanged, graph, [graph] { graph->Redraw(-1); });
    connect(bank, &StripBank::channelEdited, pages, [pages, side] { pages->showStripEdit(side); });
    connect(page, &ChannelPage::graphRedraw, graph, [graph](int selected) { graph->Redraw(selected); });
    connect(page, &ChannelPage::rewImportRequested, programs_.get(),
            [this, page] { programs_->importRewFilters(*page); });
    connect(page, &ChannelPage::gainChanged, bank, &StripBank::showGain);
  }
  connect(graph, &CFStatic::graphChanged, pages, &PageSelection::followGraphChange);
  connect(graph, &CFStatic::elementDragged, pages, &PageSelection::followGraphDrag);
  connect(console_->crosspoints(), &CrosspointGrid::mixerPageRequested, pages,
          [pages] { pages->select(Page::Matrix, 0); });
}

void OrvaneDlg::wireReactions() {
  connect(reactions_, &LinkReactions::connectDialogOpened, this, &OrvaneDlg::connectDialogOpened);
  connect(reactions_, &LinkReactions::linkOpened, this, [this] {
    topBar_->showLinkState(true);
    RefreshStatus(TopBar::Status::DeviceProgram);
  });
  connect(reactions_, &LinkReactions::statusChanged, this,
          [this] { RefreshStatus(TopBar::Status::DeviceProgram); });
  connect(reactions_, &LinkReactions::linkEnded, this, &OrvaneDlg::onLinkEnded);
  connect(reactions_, &LinkReactions::linkEnded, programs_.get(), &ProgramWorkflow::linkEnded);
  connect(reactions_, &LinkReactions::deviceRead, this, &OrvaneDlg::RefreshAll);
  connect(reactions_, &LinkReactions::levelsRead, this, &OrvaneDlg::onLevels);
  connect(reactions_, &LinkReactions::allProgramsRead, programs_.get(), &ProgramWorkflow::saveAllPrograms);
  connect(&notifier_, &QtNotifier::progressRangeChanged, progress_, &GradientProgressCtrl::setRange);
  connect(&notifier_, &QtNotifier::progressChanged, progress_, &GradientProgressCtrl::setPosition);
  connect(&notifier_, &QtNotifier::transferStateChanged, popup_, &DisplayDlg::setTransferInProgress);
}

// The dialogs of the tool bar are announced as the window's own; what a
// program file changes shows in the window.
void OrvaneDlg::wireTools() {
  connect(tools_.get(), &ToolDialogs::lockStepOpened, this, &OrvaneDlg::lockStepOpened);
  connect(tools_.get(), &ToolDialogs::lockDialogOpened, this, &OrvaneDlg::lockDialogOpened);
  connect(tools_.get(), &ToolDialogs::settingsOpened, this, &OrvaneDlg::settingsOpened);
  connect(tools_.get(), &ToolDialogs::reportOpened, this, &OrvaneDlg::reportOpened);
  connect(programs_.get(), &ProgramWorkflow::programDialogOpened, this, &OrvaneDlg::programDialogOpened);
  connect(programs_.get(), &ProgramWorkflow::programLoaded, this, &OrvaneDlg::RefreshAll);
  connect(programs_.get(), &ProgramWorkflow::comparisonOpened, this, &OrvaneDlg::comparisonOpened);
  connect(programs_.get(), &ProgramWorkflow::valuesTaken, this, &OrvaneDlg::RefreshAll);
  connect(programs_.get(), &ProgramWorkflow::statusChanged, this, &OrvaneDlg::RefreshStatus);
}

// Each gesture in the console is a step; it closes once the graph reported
// its last drag, which copies it to the link group. Undo and redo show in
// the tool bar; the history may change with every gesture, link event and
// loaded program, so the actions are a part that every refresh reaches.
void OrvaneDlg::wireHistory() {
  gestures_ = std::make_unique<GestureSteps>(session_.history(), console_->area(), this);
  history_ = std::make_unique<HistoryActions>(session_, *gestures_, this);
  topBar_->showHistoryActions(history_->undoAction(), history_->redoAction());
  parts_.push_back(history_.get());
  connect(gestures_.get(), &GestureSteps::closing, console_->graph(), &CFStatic::FlushNotification);
  connect(gestures_.get(), &GestureSteps::closed, history_.get(), &HistoryActions::showSteps);
  connect(history_.get(), &HistoryActions::imageRestored, this, &OrvaneDlg::RefreshAll);
  connect(reactions_, &LinkReactions::linkOpened, history_.get(), &HistoryActions::showSteps);
}

// --- the link -------------------------------------------------------------------

bool OrvaneDlg::connectTo(LinkType link, const QString& address, int deviceId) {
  return reactions_->connectTo(link, address, deviceId);
}

void OrvaneDlg::disconnectLink() {
  reactions_->endLink();
}

void OrvaneDlg::onLinkButton() {
  reactions_->onLinkButton();
  topBar_->showLinkState(session_.connection().isConnected());
}

// The editor was reset: the window shows the defaults, the meters go dark.
void OrvaneDlg::onLinkEnded() {
  // The settings were of the device that is gone.
  tools_->closeSettings();
  popup_->dismiss();
  progress_->setPosition(0);
  for (const Side side : {Side::Input, Side::Output}) console_->bank(side)->resetMeters();
  RefreshAll();
}

void OrvaneDlg::onLevels() {
  const DeviceStatus status = image_.read([](const ImageData& d) { return d.status; });
  for (const Side side : {Side::Input, Side::Output}) console_->bank(side)->showLevels(status);
  session_.command().levelRequest().request();
}

// --- window state ---------------------------------------------------------------

void OrvaneDlg::RefreshStatus(TopBar::Status status) {
  topBar_->showStatus(status);
}

void OrvaneDlg::SelectPage(Page page, int channel) {
  pages_->select(page, channel);
}

void OrvaneDlg::RefreshAll() {
  // The group tables the strips show are rebuilt from the image first.
  session_.links().normalise();
  for (WindowPart* part : parts_) part->refreshFromImage();
  ApplyLocks();
}

void OrvaneDlg::ApplyLocks() {
  const LockState locks = image_.read([](const ImageData& d) { return d.locks; });
  for (WindowPart* part : parts_) part->applyLocks(locks);
}

void OrvaneDlg::ApplyLanguage() {
  for (WindowPart* part : parts_) part->applyLanguage();
  ApplyLocks();
  update();
}

void OrvaneDlg::RefreshInputGain(int channel) {
  console_->bank(Side::Input)->showGain(channel);
}

void OrvaneDlg::RefreshOutputGain(int channel) {
  console_->bank(Side::Output)->showGain(channel);
}

void OrvaneDlg::onLanguageButton() {
  Language::setFlag(Language::isEnglish() ? 0 : 1);
  ApplyLanguage();
}

// --- tool bar -------------------------------------------------------------------

QString OrvaneDlg::helpFile() const {
  return HelpActions::helpFile(session_.variant());
}

void OrvaneDlg::onHelp() {
  HelpActions::showHelp(this, session_.variant());
}

void OrvaneDlg::onAbout() {
  HelpActions::showAbout(this);
}

void OrvaneDlg::onLock() {
  if (tools_->runLocks()) ApplyLocks();
}

void OrvaneDlg::onSetting() {
  tools_->openSettings();
}

void OrvaneDlg::onPrograms() {
  programs_->openManager();
  // A program recalled in the manager is a step.
  history_->showSteps();
}

void OrvaneDlg::onReport() {
  tools_->openReport();
}

void OrvaneDlg::onCompare() {
  programs_->openComparison();
}

void OrvaneDlg::openProgramFile(const QString& path) {
  programs_->openFile(path);
}

// Enter never closes the window: it moves the focus to the link button.
// Escape moves the focus to the window itself. On a page both move the
// focus to the page, which takes what was typed into a field.
bool OrvaneDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return QWidget::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (!enter && key != Qt::Key_Escape) return QWidget::eventFilter(watched, event);
  QFrame* pageArea = console_->pageArea();
  if (pageArea->isAncestorOf(widget))
    pageArea->setFocus();
  else if (enter)
    topBar_->linkButton()->setFocus();
  else
    setFocus();
  return true;
}

}  // namespace orvane::ui
