#include "ui/main/OrvaneDlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "model/Crosspoints.h"
#include "model/NameField.h"
#include "model/ProductVariant.h"
#include "model/Texts.h"
#include "ui/locks/Set_Warn_Dlg.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/CrosspointGrid.h"
#include "ui/main/DeviceDlg.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/MainTexts.h"
#include "ui/main/MasterPanel.h"
#include "ui/main/MessageBoxes.h"
#include "ui/main/UiText.h"
#include "ui/widgets/GradientProgressCtrl.h"
#include "ui/widgets/SLamp.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

enum StatusField { kNameField = 0, kNumberField = 1, kLinkField = 2 };
const QString kNull = QStringLiteral("NULL");

QString nameText(std::span<const std::uint8_t> field) {
  return QString::fromStdString(NameField::FieldToText(field, field.size()));
}

}  // namespace

OrvaneDlg::OrvaneDlg(ParameterImage& image, TransportFactory transports, PortLister ports, Timings timings)
    : image_(image),
      command_(std::make_unique<Command>(image, notifier_, timings)),
      connection_(*command_, image, notifier_),
      links_(image, *command_),
      master_(image, *command_),
      ports_(std::move(ports)) {
  if (transports) transports(*command_, image_);
  setObjectName("OrvaneDlg");
  buildWindow();
  popup_ = new DisplayDlg(this);
  wireNotifier();
  qApp->installEventFilter(this);
  ApplyLanguage();
  // The window opens on the input page of input 0.
  image_.modify([](ImageData& d) { d.editor.selectedPage = Page::Matrix; });
  SelectPage(1, 0);
  RefreshAll();
}

OrvaneDlg::~OrvaneDlg() {
  qApp->removeEventFilter(this);
  command_->Shutdown();
}

void OrvaneDlg::closeEvent(QCloseEvent* event) {
  if (connection_.isConnected()) connection_.disconnect();
  event->accept();
}

// --- building ---------------------------------------------------------------

void OrvaneDlg::buildWindow() {
  setWindowTitle(QString::fromUtf8(ProductVariant::current().windowTitle.data()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(buildTopBar());
  progress_ = new GradientProgressCtrl(this);
  progress_->setObjectName("progress");
  progress_->setFixedHeight(8);
  layout->addWidget(progress_);
  layout->addWidget(buildConsole(), 1);
}

QWidget* OrvaneDlg::buildTopBar() {
  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);

  helpButton_ = new QToolButton(bar);
  helpButton_->setObjectName("help");
  helpButton_->setPopupMode(QToolButton::MenuButtonPopup);
  auto* helpMenu = new QMenu(helpButton_);
  helpMenu->addAction(QString(), this, &OrvaneDlg::onAbout)->setObjectName("about");
  helpButton_->setMenu(helpMenu);
  connect(helpButton_, &QToolButton::clicked, this, &OrvaneDlg::onHelp);
  row->addWidget(helpButton_);

  // Programs, device ID, settings, lock, report.
  for (std::size_t i = 0; i < toolButtons_.size(); ++i) {
    toolButtons_[i] = new QPushButton(bar);
    row->addWidget(toolButtons_[i]);
  }
  toolButtons_[1]->setObjectName("deviceId");
  connect(toolButtons_[1], &QPushButton::clicked, this, &OrvaneDlg::onDeviceId);
  for (std::size_t i : {0u, 2u, 3u, 4u}) toolButtons_[i]->setEnabled(false);

  linkButton_ = new QPushButton(bar);
  linkButton_->setObjectName("link");
  linkButton_->setCheckable(true);
  connect(linkButton_, &QPushButton::clicked, this, &OrvaneDlg::onLinkButton);
  row->addWidget(linkButton_);
  languageButton_ = new QPushButton(bar);
  languageButton_->setObjectName("language");
  connect(languageButton_, &QPushButton::clicked, this, &OrvaneDlg::onLanguageButton);
  row->addWidget(languageButton_);
  row->addStretch();

  const std::array<int, 3> widths{150, 40, 120};
  for (std::size_t i = 0; i < statusFields_.size(); ++i) {
    statusLabels_[i] = new QLabel(bar);
    statusFields_[i] = new QLineEdit(bar);
    statusFields_[i]->setReadOnly(true);
    statusFields_[i]->setFocusPolicy(Qt::NoFocus);
    statusFields_[i]->setFixedWidth(widths[i]);
    statusFields_[i]->setObjectName(QStringLiteral("status%1").arg(i));
    row->addWidget(statusLabels_[i]);
    row->addWidget(statusFields_[i]);
  }
  return bar;
}

// Inputs as rows down the left, the master section below them, outputs as
// columns along the bottom, and between them the crosspoints, the graph and
// the page area.
QWidget* OrvaneDlg::buildConsole() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  grid->addWidget(buildInputs(area), 0, 0);
  grid->addWidget(buildWorkArea(area), 0, 1);
  masterPanel_ = new MasterPanel(area);
  connect(masterPanel_, &MasterPanel::antiFeedbackClicked, this,
          [this](bool on) { master_.setAntiFeedback(on); });
  connect(masterPanel_, &MasterPanel::muteClicked, this, &OrvaneDlg::onMasterMute);
  connect(masterPanel_, &MasterPanel::levelEdited, this, &OrvaneDlg::onMasterLevel);
  grid->addWidget(masterPanel_, 1, 0);
  grid->addWidget(buildOutputs(area), 1, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(0, 1);
  return area;
}

QWidget* OrvaneDlg::buildInputs(QWidget* parent) {
  auto* inputs = new QWidget(parent);
  auto* column = new QVBoxLayout(inputs);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  meterLabels_[0] = new QLabel(inputs);
  column->addWidget(meterLabels_[0]);
  for (int n = 0; n < kChannels; ++n) {
    auto* strip = new ChannelStrip(Side::Input, n, inputs);
    inputStrips_[static_cast<std::size_t>(n)] = strip;
    inputMeters_[static_cast<std::size_t>(n)] = new SLamp(SLamp::Layout::Input, strip);
    strip->placeMeter(inputMeters_[static_cast<std::size_t>(n)]);
    wireStrip(strip);
    column->addWidget(strip, 1);
  }
  return inputs;
}

QWidget* OrvaneDlg::buildOutputs(QWidget* parent) {
  auto* outputs = new QWidget(parent);
  auto* row = new QHBoxLayout(outputs);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  meterLabels_[1] = new QLabel(outputs);
  meterLabels_[1]->setAlignment(Qt::AlignTop);
  row->addWidget(meterLabels_[1]);
  for (int n = 0; n < kChannels; ++n) {
    auto* strip = new ChannelStrip(Side::Output, n, outputs);
    outputStrips_[static_cast<std::size_t>(n)] = strip;
    outputMeters_[static_cast<std::size_t>(n)] = new SLamp(SLamp::Layout::Output, strip);
    strip->placeMeter(outputMeters_[static_cast<std::size_t>(n)]);
    wireStrip(strip);
    row->addWidget(strip, 1);
  }
  return outputs;
}

// The crosspoints beside the response graph; the editing page goes below.
// Graph and page are empty frames until they are built.
QWidget* OrvaneDlg::buildWorkArea(QWidget* parent) {
  auto* work = new QWidget(parent);
  work->setObjectName("workArea");
  auto* grid = new QGridLayout(work);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  crosspoints_ = new CrosspointGrid(work);
  connect(crosspoints_, &CrosspointGrid::crosspointClicked, this, &OrvaneDlg::onCrosspoint);
  grid->addWidget(crosspoints_, 0, 0);
  graphArea_ = new QFrame(work);
  graphArea_->setObjectName("graphArea");
  graphArea_->setFrameShape(QFrame::StyledPanel);
  graphTitle_ = new QLabel(graphArea_);
  (new QVBoxLayout(graphArea_))->addWidget(graphTitle_, 0, Qt::AlignTop | Qt::AlignLeft);
  grid->addWidget(graphArea_, 0, 1);
  pageArea_ = new QFrame(work);
  pageArea_->setObjectName("pageArea");
  pageArea_->setFrameShape(QFrame::StyledPanel);
  grid->addWidget(pageArea_, 1, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);
  return work;
}

void OrvaneDlg::wireStrip(ChannelStrip* strip) {
  const Side side = strip->side();
  const int n = strip->channel();
  connect(strip, &ChannelStrip::selectClicked, this,
          [this, side, n] { SelectPage(side == Side::Input ? 1 : 2, n); });
  connect(strip, &ChannelStrip::muteClicked, this, [this, side, n](bool on) { onStripMute(side, n, on); });
  connect(strip, &ChannelStrip::curveClicked, this, [this, side, n] { onStripCurve(side, n); });
  connect(strip, &ChannelStrip::gainEdited, this, [this, side, n](int gain) { onStripGain(side, n, gain); });
  connect(strip, &ChannelStrip::linkGroupChosen, this,
          [this, side, n](int group) { onStripLinkGroup(side, n, group); });
  connect(strip, &ChannelStrip::nameEdited, this,
          [this, side, n](const QString& text) { onStripName(side, n, text); });
}

void OrvaneDlg::wireNotifier() {
  connect(&notifier_, &QtNotifier::posted, this, &OrvaneDlg::onPosted);
  connect(&notifier_, &QtNotifier::progressRangeChanged, progress_, &GradientProgressCtrl::setRange);
  connect(&notifier_, &QtNotifier::progressChanged, progress_, &GradientProgressCtrl::setPosition);
  connect(&notifier_, &QtNotifier::transferStateChanged, popup_, &DisplayDlg::setTransferInProgress);
  connect(&notifier_, &QtNotifier::idSearchProgressChanged, this, [this](int id) {
    if (connectDialog_) connectDialog_->setSearchProgress(id);
  });
  connect(&notifier_, &QtNotifier::idSearchStopped, this, [this] {
    if (connectDialog_)
      connectDialog_->showFoundIds(image_.read([](const ImageData& d) { return d.connection.idTable; }));
  });
  connect(&notifier_, &QtNotifier::warning, this,
          [this](const QString& text) { MessageBoxes::warn(this, MainTexts::kApplicationError, text); });
}

// --- connecting ---------------------------------------------------------------

void OrvaneDlg::onLinkButton() {
  if (connection_.isConnected()) {
    disconnectLink();
    return;
  }
  linkButton_->setChecked(false);
  ConnectDlg dialog(this, choices_, ports_ ? ports_() : std::vector<SerialPortChoice>{},
                    image_.read([](const ImageData& d) { return d.connection.idTable; }));
  dialog.onSearch = [this](const QString& port) { return startIdSearch(port); };
  connectDialog_ = &dialog;
  emit connectDialogOpened(&dialog);
  const int result = dialog.exec();
  connectDialog_ = nullptr;
  if (connection_.idSearchRunning()) connection_.disconnect();
  switch (result) {
    case ConnectDlg::kUsb:
      connectTo(LinkType::Usb, QString(), 0);
      break;
    case ConnectDlg::kNetwork:
      connectTo(LinkType::Network, choices_.networkAddress, 0);
      break;
    case ConnectDlg::kSerial:
      connectTo(LinkType::Serial, choices_.serialPort, choices_.deviceId);
      break;
    default:
      break;
  }
}

bool OrvaneDlg::connectTo(LinkType link, const QString& address, int deviceId) {
  if (link == LinkType::Serial) choices_.serialPort = address, choices_.deviceId = deviceId;
  if (link == LinkType::Network) choices_.networkAddress = address;
  const bool connected = connection_.connect(link, address.toStdString(), deviceId);
  if (!connected) {
    showOpenFailure(link);
    return false;
  }
  showLinkState();
  RefreshStatus(1);
  return true;
}

void OrvaneDlg::showOpenFailure(LinkType link) {
  switch (link) {
    case LinkType::Serial:
      MessageBoxes::inform(this, MainTexts::kSerialOpenFailed);
      break;
    case LinkType::Usb:
      MessageBoxes::inform(this, MainTexts::kUsbOpenFailed);
      break;
    default:
      MessageBoxes::inform(this, MainTexts::kNetOpenFailed);
      break;
  }
}

bool OrvaneDlg::startIdSearch(const QString& port) {
  if (connection_.idSearchRunning()) return true;
  if (!connection_.startIdSearch(port.toStdString())) {
    MessageBoxes::inform(this, MainTexts::kSerialOpenFailed);
    return false;
  }
  return true;
}

void OrvaneDlg::disconnectLink() {
  connection_.disconnect();
  popup_->dismiss();
  progress_->setPosition(0);
  showLinkState();
  resetMeters();
  RefreshStatus(0);
  RefreshAll();
}

// --- what the core reports --------------------------------------------------------

void OrvaneDlg::onPosted(int message, qintptr wParam, qintptr lParam) {
  switch (static_cast<Message>(message)) {
    case Message::ChannelDataRead:
      RefreshAll();
      break;
    case Message::LinkLost:
      onLinkLost(static_cast<LinkType>(wParam), static_cast<int>(lParam));
      break;
    case Message::LevelsRead:
      onLevels();
      break;
    case Message::NetworkOperationDone:
      onNetworkOperationDone(static_cast<int>(lParam));
      break;
    case Message::FirmwareVersionRead:
      onFirmwareRead();
      break;
    default:
      break;
  }
}

void OrvaneDlg::onLinkLost(LinkType link, int kind) {
  // A report from a link that is no longer the open one (the user closed it
  // meanwhile) has nothing left to close.
  if (connection_.linkType() != link) return;
  const bool searching = connection_.idSearchRunning();
  disconnectLink();
  connection_.endIdSearch();
  if (searching) {
    if (connectDialog_)
      connectDialog_->showFoundIds(image_.read([](const ImageData& d) { return d.connection.idTable; }));
    return;
  }
  if (kind == static_cast<int>(ReplyKind::NetworkNameWrite))
    MessageBoxes::inform(this, MainTexts::kRenameFailed);
  else if (kind == static_cast<int>(ReplyKind::NetworkFactoryReset))
    MessageBoxes::inform(this, MainTexts::kFactoryResetFailed);
  else if (link == LinkType::Serial)
    MessageBoxes::inform(this, Texts::kComPortFailed);
  else if (link == LinkType::Usb)
    MessageBoxes::inform(this, Texts::kUsbFailed);
  else
    MessageBoxes::inform(this, Texts::kNetworkFailed);
}

void OrvaneDlg::onLevels() {
  const DeviceStatus status = image_.read([](const ImageData& d) { return d.status; });
  for (std::size_t n = 0; n < kChannels; ++n) {
    inputMeters_[n]->showInputLevel(status.inputLevels[n]);
    outputMeters_[n]->showOutputLevel(status.outputLevels[n]);
  }
  if (connection_.isConnected()) image_.modify([](ImageData& d) { d.status.levelStoring = true; });
}

void OrvaneDlg::resetMeters() {
  for (SLamp* meter : inputMeters_) meter->reset();
  for (SLamp* meter : outputMeters_) meter->reset();
}

void OrvaneDlg::onFirmwareRead() {
  const ProductVariant& variant = ProductVariant::current();
  const FirmwareVerdict verdict = connection_.checkFirmware(variant);
  if (verdict == FirmwareVerdict::Accepted || !connection_.isConnected()) return;
  disconnectLink();
  const bool j = variant.modelCode == 7304;
  switch (verdict) {
    case FirmwareVerdict::WrongProduct:
      MessageBoxes::inform(this, MainTexts::kWrongProduct);
      break;
    case FirmwareVerdict::DeviceOlder:
      MessageBoxes::inform(this, j ? MainTexts::kDeviceOlderJ : MainTexts::kDeviceOlderS);
      break;
    default:
      MessageBoxes::inform(this, j ? MainTexts::kDeviceNewerJ : MainTexts::kDeviceNewerS);
      break;
  }
}

void OrvaneDlg::onNetworkOperationDone(int kind) {
  if (kind == static_cast<int>(ReplyKind::NetworkNameWrite))
    MessageBoxes::inform(this, MainTexts::kRenameDone);
  else if (kind == static_cast<int>(ReplyKind::NetworkFactoryReset))
    MessageBoxes::inform(this, MainTexts::kFactoryResetDone);
}

// --- window state ---------------------------------------------------------------

void OrvaneDlg::RefreshStatus(int mode) {
  const auto [link, deviceId, number, name] = image_.read([](const ImageData& d) {
    return std::tuple(d.connection.linkType, d.connection.deviceId, d.currentProgramNumber,
                      d.currentProgramName);
  });
  statusFields_[kNameField]->setText(nameText(name));
  if (mode == 0) {
    statusFields_[kLinkField]->setText(kNull);
    statusFields_[kNumberField]->setText(kNull);
    return;
  }
  switch (link) {
    case LinkType::Serial:
      statusFields_[kLinkField]->setText(QStringLiteral("ID:%1").arg(deviceId));
      break;
    case LinkType::Usb:
      statusFields_[kLinkField]->setText(QStringLiteral("USB"));
      break;
    case LinkType::Network:
      statusFields_[kLinkField]->setText(choices_.networkAddress);
      break;
    default:
      statusFields_[kLinkField]->setText(kNull);
      break;
  }
  statusFields_[kNumberField]->setText(mode == 2 ? QStringLiteral("PC") : QString::number(number));
}

bool OrvaneDlg::isLocked(int flag) const {
  return image_.read([flag](const ImageData& d) { return d.locks.isLocked(flag); });
}

std::optional<Side> OrvaneDlg::masterSide() const {
  switch (image_.read([](const ImageData& d) { return d.editor.selectedPage; })) {
    case Page::Input:
      return Side::Input;
    case Page::Output:
      return Side::Output;
    default:
      return std::nullopt;
  }
}

QString OrvaneDlg::channelName(Side side, int channel) const {
  return image_.read(
      [&](const ImageData& d) { return nameText(d.edited.block(side, channel).first(kNameBytes)); });
}

void OrvaneDlg::SelectPage(int kind, int channel) {
  const EditorState editor = image_.read([](const ImageData& d) { return d.editor; });
  const auto at = [](int n) { return static_cast<std::size_t>(n); };
  if (editor.selectedPage == Page::Matrix) {
    if (kind == 0) return;
    masterPanel_->showLevelControls(true);
    refreshCrosspoints();
  }
  if (editor.selectedPage == Page::Input) {
    if (kind == 1 && channel == editor.selectedInput) return;
    ChannelStrip* old = inputStrip(editor.selectedInput);
    old->setSelected(false);
    old->showCurve(editor.inputCurveVisible[at(editor.selectedInput)]);
  }
  if (editor.selectedPage == Page::Output) {
    if (kind == 2 && channel == editor.selectedOutput) return;
    ChannelStrip* old = outputStrip(editor.selectedOutput);
    old->setSelected(false);
    old->showCurve(editor.outputCurveVisible[at(editor.selectedOutput)]);
  }
  if (kind == 0) {
    image_.modify([](ImageData& d) { d.editor.selectedPage = Page::Matrix; });
    masterPanel_->showLevelControls(false);
    return;
  }
  const Side side = kind == 1 ? Side::Input : Side::Output;
  image_.modify([&](ImageData& d) {
    d.editor.selectedPage = kind == 1 ? Page::Input : Page::Output;
    (kind == 1 ? d.editor.selectedInput : d.editor.selectedOutput) = channel;
  });
  ChannelStrip* chosen = strip(side, channel);
  chosen->setSelected(true);
  chosen->showCurve(true);
  masterPanel_->showLevel(master_.level(side));
  masterPanel_->lockLevel(
      isLocked(side == Side::Input ? LockFlag::InputMainVolume : LockFlag::OutputMainVolume));
}

void OrvaneDlg::refreshCrosspoints() {
  for (int i = 0; i < kChannels; ++i)
    for (int j = 0; j < kChannels; ++j) crosspoints_->showOn(i, j, Crosspoints::isOn(image_, i, j));
}

void OrvaneDlg::RefreshAll() {
  for (Side side : {Side::Input, Side::Output}) {
    for (int n = 0; n < kChannels; ++n) {
      strip(side, n)->showMute(image_.field(side, n, CommonField::Mute) != 0);
      strip(side, n)->showGain(image_.field(side, n, CommonField::Gain));
    }
  }
  refreshCrosspoints();

  // Only the curve of the channel being edited stays on the graph.
  const EditorState editor = image_.modify([](ImageData& d) {
    d.editor.inputCurveVisible.fill(false);
    d.editor.outputCurveVisible.fill(false);
    return d.editor;
  });
  for (int n = 0; n < kChannels; ++n) {
    inputStrip(n)->showCurve(editor.selectedPage == Page::Input && n == editor.selectedInput);
    outputStrip(n)->showCurve(editor.selectedPage == Page::Output && n == editor.selectedOutput);
  }

  links_.normalise();
  for (Side side : {Side::Input, Side::Output})
    for (int n = 0; n < kChannels; ++n) strip(side, n)->showLinkGroup(links_.group(side, n));

  if (!isLocked(LockFlag::InputLabel))
    for (int n = 0; n < kChannels; ++n) inputStrip(n)->showName(channelName(Side::Input, n));
  if (!isLocked(LockFlag::OutputLabel))
    for (int n = 0; n < kChannels; ++n) outputStrip(n)->showName(channelName(Side::Output, n));

  RefreshStatus(connection_.isConnected() ? 1 : 0);
  masterPanel_->showAntiFeedback(master_.antiFeedback());
  if (const std::optional<Side> side = masterSide()) masterPanel_->showLevel(master_.level(*side));
  ApplyLocks();
}

void OrvaneDlg::ApplyLocks() {
  const LockState locks = image_.read([](const ImageData& d) { return d.locks; });
  masterPanel_->lockAntiFeedback(locks.isLocked(LockFlag::MainFeedback));
  crosspoints_->setLocked(locks.isLocked(LockFlag::Matrix));
  if (const std::optional<Side> side = masterSide())
    masterPanel_->lockLevel(
        locks.isLocked(*side == Side::Input ? LockFlag::InputMainVolume : LockFlag::OutputMainVolume));

  struct SideFlags {
    Side side;
    int name, mute, gain, link;
  };
  for (const SideFlags& f : {SideFlags{Side::Input, LockFlag::InputLabel, LockFlag::InputMute,
                                       LockFlag::InputGain, LockFlag::InputLink},
                             SideFlags{Side::Output, LockFlag::OutputLabel, LockFlag::OutputMute,
                                       LockFlag::OutputGain, LockFlag::OutputLink}}) {
    for (int n = 0; n < kChannels; ++n) {
      ChannelStrip* s = strip(f.side, n);
      const bool nameLocked = locks.isLocked(f.name);
      if (s->nameEdit()->isLocked() != nameLocked) {
        s->lockName(nameLocked);
        if (!nameLocked) s->showName(channelName(f.side, n));
      }
      s->lockMute(locks.isLocked(f.mute));
      s->lockGain(locks.isLocked(f.gain));
      if (s->linkList()->isEnabled() == locks.isLocked(f.link)) s->lockLinkGroup(locks.isLocked(f.link));
    }
  }
}

void OrvaneDlg::RefreshInputGain(int channel) {
  inputStrip(channel)->showGain(image_.field(Side::Input, channel, CommonField::Gain));
}

void OrvaneDlg::RefreshOutputGain(int channel) {
  outputStrip(channel)->showGain(image_.field(Side::Output, channel, CommonField::Gain));
}

// --- strip, master and crosspoint actions ---------------------------------------

void OrvaneDlg::onStripGain(Side side, int channel, int gain) {
  image_.setField(side, channel, CommonField::Gain, gain);
  const std::array<Field, 1> following{CommonField::Gain};
  for (int member : links_.follow(side, channel, following)) strip(side, member)->showGain(gain);
}

void OrvaneDlg::onStripMute(Side side, int channel, bool sounding) {
  image_.setField(side, channel, CommonField::Mute, sounding ? 1 : 0);
}

void OrvaneDlg::onStripCurve(Side side, int channel) {
  const bool visible = image_.modify([&](ImageData& d) {
    const bool edited = side == Side::Input
                            ? d.editor.selectedPage == Page::Input && d.editor.selectedInput == channel
                            : d.editor.selectedPage == Page::Output && d.editor.selectedOutput == channel;
    // The curve of the channel being edited always shows.
    if (edited) return true;
    auto& flags = side == Side::Input ? d.editor.inputCurveVisible : d.editor.outputCurveVisible;
    bool& flag = flags.at(static_cast<std::size_t>(channel));
    flag = !flag;
    return flag;
  });
  strip(side, channel)->showCurve(visible);
}

void OrvaneDlg::onStripLinkGroup(Side side, int channel, int group) {
  links_.join(side, group, channel);
  ChannelStrip* joined = strip(side, channel);
  joined->showLinkGroup(links_.group(side, channel));
  joined->showGain(image_.field(side, channel, CommonField::Gain));
}

void OrvaneDlg::onStripName(Side side, int channel, const QString& text) {
  const std::vector<std::uint8_t> field = NameField::TextToField(text.toStdString(), kNameBytes);
  image_.modify([&](ImageData& d) { std::ranges::copy(field, d.edited.block(side, channel).begin()); });
}

void OrvaneDlg::onMasterLevel(int level) {
  if (const std::optional<Side> side = masterSide()) master_.setLevel(*side, level);
}

void OrvaneDlg::onMasterMute() {
  if (const std::optional<Side> side = masterSide())
    masterPanel_->showLevel(master_.toggleMute(*side));
  else
    masterPanel_->showLevel(0);
}

void OrvaneDlg::onCrosspoint(int input, int output) {
  crosspoints_->showOn(input, output, Crosspoints::toggle(image_, input, output));
}

QString OrvaneDlg::statusText(int field) const {
  return statusFields_.at(static_cast<std::size_t>(field))->text();
}

void OrvaneDlg::showLinkState() {
  const bool connected = connection_.isConnected();
  linkButton_->setChecked(connected);
  linkButton_->setText(uiText(connected ? MainTexts::kDisconnect : MainTexts::kConnect));
}

void OrvaneDlg::onLanguageButton() {
  Language::setFlag(Language::isEnglish() ? 0 : 1);
  ApplyLanguage();
}

void OrvaneDlg::ApplyLanguage() {
  helpButton_->setText(uiText(MainTexts::kHelp));
  helpButton_->menu()->actions().front()->setText(uiText(MainTexts::kAbout));
  const std::array<BiText, 5> tools{MainTexts::kPrograms, MainTexts::kDeviceIdButton, MainTexts::kSetting,
                                    MainTexts::kLockButton, MainTexts::kReport};
  for (std::size_t i = 0; i < tools.size(); ++i) toolButtons_[i]->setText(uiText(tools[i]));
  showLinkState();
  languageButton_->setText(uiText(MainTexts::kLanguageButton));
  const std::array<BiText, 3> status{MainTexts::kProgramName, MainTexts::kProgramNumber, MainTexts::kLink};
  for (std::size_t i = 0; i < status.size(); ++i) statusLabels_[i]->setText(uiText(status[i]));
  meterLabels_[0]->setText(uiText(MainTexts::kInputs));
  meterLabels_[1]->setText(uiText(MainTexts::kOutputs));
  for (ChannelStrip* strip : inputStrips_) strip->applyLanguage();
  for (ChannelStrip* strip : outputStrips_) strip->applyLanguage();
  masterPanel_->applyLanguage();
  crosspoints_->applyLanguage();
  graphTitle_->setText(uiText(MainTexts::kGraph));
  ApplyLocks();
  update();
}

// --- tool bar -------------------------------------------------------------------

void OrvaneDlg::onHelp() {
  const ProductVariant& variant = ProductVariant::current();
  const std::string_view name = Language::isEnglish() ? variant.englishHelp : variant.chineseHelp;
  const QString file = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  // The help documents sit in the start-up directory, or beside the program.
  for (const QString& folder : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
    const QFileInfo help(QDir(folder), file);
    if (help.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(help.absoluteFilePath()))) return;
  }
  MessageBoxes::inform(this, MainTexts::kHelpMissing);
}

void OrvaneDlg::onAbout() {
  QMessageBox::about(this, uiText(MainTexts::kAboutTitle), QStringLiteral("KVS7304 1.0 "));
}

void OrvaneDlg::onDeviceId() {
  if (image_.read([](const ImageData& d) { return d.locks.isLocked(LockFlag::DeviceId); })) {
    Set_Warn_Dlg(this, Set_Warn_Dlg::Topic::Device).exec();
    return;
  }
  const LinkType link = connection_.linkType();
  DeviceDlg dialog(this, link != LinkType::None, link == LinkType::Serial,
                   image_.read([](const ImageData& d) { return d.connection.idTable; }));
  if (dialog.exec() != QDialog::Accepted || link == LinkType::None) return;
  const int id = dialog.chosenId();
  if (dialog.choice() == DeviceDlg::Choice::Reconnect) {
    connection_.reconnectTo(id);
    RefreshStatus(1);
    return;
  }
  if (id == image_.read([](const ImageData& d) { return d.connection.deviceId; })) return;
  command_->SendDeviceIdCommand(FrameCode::CmdWrite, id);
  RefreshStatus(1);
}

// Enter never closes the window: it moves the focus to the link button.
// Escape moves the focus to the window itself.
bool OrvaneDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return QWidget::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    linkButton_->setFocus();
    return true;
  }
  if (key == Qt::Key_Escape) {
    setFocus();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace orvane::ui
