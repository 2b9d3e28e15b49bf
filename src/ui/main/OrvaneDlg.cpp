#include "ui/main/OrvaneDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "model/ProductVariant.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/graphs/CFStatic.h"
#include "ui/locks/LockWorkflow.h"
#include "ui/locks/Set_Warn_Dlg.h"
#include "ui/main/CrosspointGrid.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/GraphArea.h"
#include "ui/main/MainTexts.h"
#include "ui/main/MasterPanel.h"
#include "ui/main/StripBank.h"
#include "ui/main/TopBar.h"
#include "ui/pages/ChannelPage.h"
#include "ui/pages/EqSection.h"
#include "ui/pages/InDataDlg.h"
#include "ui/pages/InMicDlg.h"
#include "ui/pages/OutDataDlg.h"
#include "ui/programs/DialogFileChooser.h"
#include "ui/programs/ProgramFileActions.h"
#include "ui/programs/ProgramTexts.h"
#include "ui/widgets/GradientProgressCtrl.h"

namespace orvane::ui {

namespace {

// Filter exports are a few kilobytes; a larger file is not one.
constexpr qint64 kMaxRewFileBytes = 1 << 20;

}  // namespace

OrvaneDlg::OrvaneDlg(ParameterImage& image, TransportFactory transports, PortLister ports, Timings timings)
    : image_(image),
      command_(std::make_unique<Command>(image, notifier_, timings)),
      connection_(*command_, image, notifier_),
      links_(image, *command_),
      master_(image, *command_),
      filters_(std::make_unique<ChannelFilters>(image)) {
  if (transports) transports(*command_, image_);
  setObjectName("OrvaneDlg");
  reactions_ = new LinkReactions(connection_, *command_, image_, notifier_, std::move(ports), this);
  chooser_ = std::make_unique<DialogFileChooser>(this);
  buildWindow();
  popup_ = new DisplayDlg(this);
  wireReactions();
  qApp->installEventFilter(this);
  qApp->installEventFilter(&wheelGuard_);
  ApplyLanguage();
  // The window opens on the input page of input 0.
  image_.modify([](ImageData& d) { d.editor.selectedPage = Page::Matrix; });
  SelectPage(Page::Input, 0);
  RefreshAll();
}

OrvaneDlg::~OrvaneDlg() {
  qApp->removeEventFilter(&wheelGuard_);
  qApp->removeEventFilter(this);
  command_->Shutdown();
}

void OrvaneDlg::closeEvent(QCloseEvent* event) {
  if (connection_.isConnected()) reactions_->endLink();
  event->accept();
}

// --- building ---------------------------------------------------------------

void OrvaneDlg::buildWindow() {
  setWindowTitle(QString::fromUtf8(ProductVariant::current().windowTitle.data()));
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
  connect(topBar_, &TopBar::linkClicked, this, &OrvaneDlg::onLinkButton);
  connect(topBar_, &TopBar::languageClicked, this, &OrvaneDlg::onLanguageButton);
  layout->addWidget(topBar_);
  progress_ = new GradientProgressCtrl(this);
  progress_->setObjectName("progress");
  progress_->setFixedHeight(8);
  layout->addWidget(progress_);
  layout->addWidget(buildConsole(), 1);
}

// Inputs as rows down the left, the master section below them, outputs as
// columns along the bottom, and between them the crosspoints, the graph and
// the page area.
QWidget* OrvaneDlg::buildConsole() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  inputs_ = new StripBank(Side::Input, image_, links_, area);
  outputs_ = new StripBank(Side::Output, image_, links_, area);
  for (StripBank* bank : {inputs_, outputs_}) {
    const Page page = bank->side() == Side::Input ? Page::Input : Page::Output;
    connect(bank, &StripBank::selectRequested, this, [this, page](int n) { SelectPage(page, n); });
    connect(bank, &StripBank::curvesChanged, this, [this] { graph()->Redraw(-1); });
    connect(bank, &StripBank::channelEdited, this, [this, side = bank->side()] { onStripEdited(side); });
  }
  masterPanel_ = new MasterPanel(master_, image_, area);
  grid->addWidget(inputs_, 0, 0);
  grid->addWidget(buildWorkArea(area), 0, 1);
  grid->addWidget(masterPanel_, 1, 0);
  grid->addWidget(outputs_, 1, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(0, 1);
  return area;
}

// The crosspoints beside the response graph; the editing page goes below.
QWidget* OrvaneDlg::buildWorkArea(QWidget* parent) {
  auto* work = new QWidget(parent);
  work->setObjectName("workArea");
  auto* grid = new QGridLayout(work);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  crosspoints_ = new CrosspointGrid(image_, work);
  grid->addWidget(crosspoints_, 0, 0);
  graphArea_ = new GraphArea(image_, *filters_, work);
  connect(graphArea_->graph(), &CFStatic::graphChanged, this, &OrvaneDlg::onGraphChanged);
  connect(graphArea_->graph(), &CFStatic::elementDragged, this, &OrvaneDlg::onGraphDragging);
  grid->addWidget(graphArea_, 0, 1);
  connect(crosspoints_, &CrosspointGrid::mixerPageRequested, this, [this] { SelectPage(Page::Matrix, 0); });
  pageArea_ = new QFrame(work);
  pageArea_->setObjectName("pageArea");
  pageArea_->setFrameShape(QFrame::StyledPanel);
  pageArea_->setFocusPolicy(Qt::ClickFocus);
  buildPages();
  grid->addWidget(pageArea_, 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);
  parts_ = {topBar_,    inputs_,     outputs_,   masterPanel_, crosspoints_,
            graphArea_, matrixPage_, inputPage_, outputPage_};
  return work;
}

// The three pages share the page area; one shows at a time.
void OrvaneDlg::buildPages() {
  auto* layout = new QVBoxLayout(pageArea_);
  layout->setContentsMargins(2, 2, 2, 2);
  matrixPage_ = new InMicDlg(image_, pageArea_);
  inputPage_ = new InDataDlg(image_, *filters_, links_, pageArea_);
  outputPage_ = new OutDataDlg(image_, *filters_, links_, pageArea_);
  for (QWidget* page : std::initializer_list<QWidget*>{matrixPage_, inputPage_, outputPage_}) {
    page->hide();
    layout->addWidget(page);
  }
  for (ChannelPage* page : std::initializer_list<ChannelPage*>{inputPage_, outputPage_}) {
    connect(page, &ChannelPage::graphRedraw, this, [this](int selected) { graph()->Redraw(selected); });
    connect(page, &ChannelPage::rewImportRequested, this, [this, page] { importRewFilters(*page); });
  }
  connect(inputPage_, &ChannelPage::gainChanged, this, &OrvaneDlg::RefreshInputGain);
  connect(outputPage_, &ChannelPage::gainChanged, this, &OrvaneDlg::RefreshOutputGain);
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
  connect(reactions_, &LinkReactions::deviceRead, this, &OrvaneDlg::RefreshAll);
  connect(reactions_, &LinkReactions::levelsRead, this, &OrvaneDlg::onLevels);
  connect(reactions_, &LinkReactions::allProgramsRead, this, &OrvaneDlg::onAllProgramsRead);
  connect(&notifier_, &QtNotifier::progressRangeChanged, progress_, &GradientProgressCtrl::setRange);
  connect(&notifier_, &QtNotifier::progressChanged, progress_, &GradientProgressCtrl::setPosition);
  connect(&notifier_, &QtNotifier::transferStateChanged, popup_, &DisplayDlg::setTransferInProgress);
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
  topBar_->showLinkState(connection_.isConnected());
}

// The editor was reset: the window shows the defaults, the meters go dark.
void OrvaneDlg::onLinkEnded() {
  // The settings were of the device that is gone.
  if (settings_) settings_->reject();
  popup_->dismiss();
  progress_->setPosition(0);
  inputs_->resetMeters();
  outputs_->resetMeters();
  RefreshAll();
}

void OrvaneDlg::onLevels() {
  const DeviceStatus status = image_.read([](const ImageData& d) { return d.status; });
  inputs_->showLevels(status);
  outputs_->showLevels(status);
  image_.modify([](ImageData& d) { d.status.levelStoring = true; });
}

// --- window state ---------------------------------------------------------------

void OrvaneDlg::RefreshStatus(TopBar::Status status) {
  topBar_->showStatus(status);
}

QPushButton* OrvaneDlg::linkButton() const {
  return topBar_->linkButton();
}

void OrvaneDlg::SelectPage(Page page, int channel) {
  graph()->FlushNotification();
  const EditorState editor = image_.read([](const ImageData& d) { return d.editor; });
  const int selected = page == Page::Input ? editor.selectedInput : editor.selectedOutput;
  if (page == editor.selectedPage && (page == Page::Matrix || channel == selected)) return;
  image_.modify([&](ImageData& d) {
    d.editor.selectedPage = page;
    if (page == Page::Input) d.editor.selectedInput = channel;
    if (page == Page::Output) d.editor.selectedOutput = channel;
  });
  inputs_->showSelection(page == Page::Input ? std::optional(channel) : std::nullopt);
  outputs_->showSelection(page == Page::Output ? std::optional(channel) : std::nullopt);
  // The page leaving is hidden before the one coming is shown, so the
  // window never needs room for both.
  if (page != Page::Input) inputPage_->hide();
  if (page != Page::Output) outputPage_->hide();
  ShowMatrixArea(page != Page::Matrix);
  if (page == Page::Matrix) matrixPage_->ShowAll();
  if (page == Page::Input) inputPage_->ShowChannel(channel);
  if (page == Page::Output) outputPage_->ShowChannel(channel);
  inputPage_->setVisible(page == Page::Input);
  outputPage_->setVisible(page == Page::Output);
  // Leaving the matrix page, the crosspoint buttons show the levels it set.
  if (editor.selectedPage == Page::Matrix) crosspoints_->refreshFromImage();
  masterPanel_->refreshFromImage();
  masterPanel_->applyLocks(image_.read([](const ImageData& d) { return d.locks; }));
  if (page == Page::Input) graph()->ShowInput(channel);
  if (page == Page::Output) graph()->ShowOutput(channel);
}

// An element dragged on the graph: the page of its channel shows it, and the
// channels linked to that channel follow.
void OrvaneDlg::onGraphChanged(int index, int mode) {
  if (mode == CFStatic::kInput) inputPage_->OnGraphChanged(index);
  if (mode == CFStatic::kOutput) outputPage_->OnGraphChanged(index);
}

// Each step of a graph drag: the page's readouts of the element follow it.
void OrvaneDlg::onGraphDragging(int index, int mode) {
  if (mode == CFStatic::kInput) inputPage_->OnGraphDragging(index);
  if (mode == CFStatic::kOutput) outputPage_->OnGraphDragging(index);
}

// A strip changed a channel's gain or its link group (which rewrites its
// parameters): the page showing that channel shows it anew.
void OrvaneDlg::onStripEdited(Side side) {
  ChannelPage* page = side == Side::Input ? static_cast<ChannelPage*>(inputPage_) : outputPage_;
  if (!page->isVisible()) return;
  page->refreshFromImage();
  graph()->Redraw(-1);
}

// What goes away is hidden first, so the window never needs room for both
// at once (a window too small for both would grow).
void OrvaneDlg::ShowMatrixArea(bool on) {
  if (on) matrixPage_->hide();
  crosspoints_->setVisible(on);
  graphArea_->setVisible(on);
  topBar_->showTools(on);
  matrixPage_->setVisible(!on);
}

CFStatic* OrvaneDlg::graph() const {
  return graphArea_->graph();
}

void OrvaneDlg::RefreshAll() {
  // The group tables the strips show are rebuilt from the image first.
  links_.normalise();
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
  inputs_->showGain(channel);
}

void OrvaneDlg::RefreshOutputGain(int channel) {
  outputs_->showGain(channel);
}

void OrvaneDlg::onLanguageButton() {
  Language::setFlag(Language::isEnglish() ? 0 : 1);
  ApplyLanguage();
}

// --- tool bar -------------------------------------------------------------------

QString OrvaneDlg::helpFile() {
  const ProductVariant& variant = ProductVariant::current();
  const std::string_view name = Language::isEnglish() ? variant.englishHelp : variant.chineseHelp;
  const QString file = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  const QString program = QCoreApplication::applicationDirPath();
  // The start-up directory, beside the program (a build), or where the
  // package installs them: <prefix>/share/orvane/help beside <prefix>/bin.
  for (const QString& folder :
       {QDir::currentPath(), program, program + QStringLiteral("/../share/orvane/help")}) {
    const QFileInfo help(QDir(folder), file);
    if (help.isFile()) return QDir::cleanPath(help.absoluteFilePath());
  }
  return {};
}

void OrvaneDlg::onHelp() {
  const QString file = helpFile();
  if (!file.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(file))) return;
  MessageBoxes::inform(this, MainTexts::kHelpMissing);
}

void OrvaneDlg::onLock() {
  LockWorkflow flow(
      image_, [this] { command_->SendProgramCommand(ProgramOp::WriteLocks, 0, true); }, this);
  connect(&flow, &LockWorkflow::stepOpened, this, &OrvaneDlg::lockStepOpened);
  connect(&flow, &LockWorkflow::lockDialogOpened, this, &OrvaneDlg::lockDialogOpened);
  if (flow.run()) ApplyLocks();
}

void OrvaneDlg::onPrograms() {
  ProgramDlg dialog(
      image_, *command_, [this](ProgramDlg::PcAction action) { runPcAction(action); }, this);
  emit programDialogOpened(&dialog);
  dialog.exec();
  if (dialog.programChosen())
    RefreshStatus(connection_.isConnected() ? TopBar::Status::DeviceProgram : TopBar::Status::Offline);
}

// A Room EQ Wizard filter file into the channel of `page`; a refused file
// is explained and changes nothing.
void OrvaneDlg::importRewFilters(ChannelPage& page) {
  const QString path = chooser_->openFile(ProgramFileKind::RewFilters);
  if (path.isEmpty()) return;
  QFile file(path);
  if (file.size() > kMaxRewFileBytes || !file.open(QIODevice::ReadOnly)) {
    MessageBoxes::inform(this, ProgramTexts::kFileReadError);
    return;
  }
  const QByteArray text = file.readAll();
  const std::string refused =
      page.eq()->importFilters(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
  if (!refused.empty()) MessageBoxes::inform(this, QString::fromStdString(refused));
}

// A loaded or saved program file names the working state; the number shows
// "PC".
void OrvaneDlg::runPcAction(ProgramDlg::PcAction action) {
  ProgramFileActions files(image_, *command_, *chooser_, this);
  switch (action) {
    case ProgramDlg::LoadOne:
      if (files.loadOne()) showLoadedProgram();
      break;
    case ProgramDlg::SaveOne:
      if (files.saveOne()) RefreshStatus(TopBar::Status::ProgramFile);
      break;
    case ProgramDlg::LoadAll:
      files.loadAll();
      break;
    case ProgramDlg::SaveAll:
      command_->ReadAllPrograms();
      break;
  }
}

void OrvaneDlg::openProgramFile(const QString& path) {
  ProgramFileActions files(image_, *command_, *chooser_, this);
  if (QFileInfo(path).fileName().contains(extensionOf(ProgramFileKind::AllPrograms)))
    files.loadAllFrom(path);
  else if (files.loadOneFrom(path))
    showLoadedProgram();
}

// Every control shows the loaded working state, "PC" stands for the program
// number.
void OrvaneDlg::showLoadedProgram() {
  RefreshAll();
  RefreshStatus(TopBar::Status::ProgramFile);
}

void OrvaneDlg::onReport() {
  const ReportHeading heading{
      topBar_->statusText(TopBar::kNameField), topBar_->statusText(TopBar::kNumberField),
      topBar_->statusText(TopBar::kLinkField),
      QString::number(image_.read([](const ImageData& d) { return d.connection.deviceId; }))};
  DataViewDlg dialog(ReportTable::build(image_, *filters_), heading, this);
  emit reportOpened(&dialog);
  dialog.exec();
}

void OrvaneDlg::onAllProgramsRead() {
  ProgramFileActions(image_, *command_, *chooser_, this).saveAll();
}

void OrvaneDlg::onSetting() {
  if (image_.read([](const ImageData& d) { return d.locks.isLocked(LockFlag::Settings); })) {
    Set_Warn_Dlg(this, Set_Warn_Dlg::Topic::Setting).exec();
    return;
  }
  const std::unique_ptr<SetupDialog> dialog =
      SetupDialog::create(ProductVariant::current().modelCode, image_, *command_, this);
  settings_ = dialog.get();
  emit settingsOpened(dialog.get());
  dialog->exec();
}

void OrvaneDlg::onAbout() {
  QMessageBox::about(this, uiText(MainTexts::kAboutTitle), QStringLiteral("KVS7304 1.0 "));
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
  if (pageArea_->isAncestorOf(widget))
    pageArea_->setFocus();
  else if (enter)
    linkButton()->setFocus();
  else
    setFocus();
  return true;
}

}  // namespace orvane::ui
