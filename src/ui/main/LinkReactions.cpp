#include "ui/main/LinkReactions.h"

#include <QWidget>
#include <array>
#include <optional>
#include <utility>

#include "model/ProductVariant.h"
#include "model/Texts.h"
#include "ui/common/MessageBoxes.h"
#include "ui/locks/Set_Warn_Dlg.h"
#include "ui/main/DeviceDlg.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

namespace {

BiText firmwareRefusal(FirmwareVerdict verdict, const ProductVariant& variant) {
  const bool j = variant.modelCode == 7304;
  if (verdict == FirmwareVerdict::WrongProduct) return MainTexts::kWrongProduct;
  if (verdict == FirmwareVerdict::DeviceOlder) return j ? MainTexts::kDeviceOlderJ : MainTexts::kDeviceOlderS;
  return j ? MainTexts::kDeviceNewerJ : MainTexts::kDeviceNewerS;
}

using Kind = editor::LinkEvent::Kind;

// The events whose message box has one text, whatever the link.
constexpr std::array<std::pair<Kind, BiText>, 4> kOneText{{
    {Kind::RenameLost, MainTexts::kRenameFailed},
    {Kind::FactoryResetLost, MainTexts::kFactoryResetFailed},
    {Kind::RenameDone, MainTexts::kRenameDone},
    {Kind::FactoryResetDone, MainTexts::kFactoryResetDone},
}};

// The message box of each event the user is told of; the end of an ID
// search shows in the connection dialog instead, and the waits of a
// program without a window do not happen here.
std::optional<BiText> textOf(const editor::LinkEvent& event, const ProductVariant& variant) {
  const bool serial = event.link == LinkType::Serial;
  const bool usb = event.link == LinkType::Usb;
  if (event.kind == Kind::OpenFailed)
    return serial ? MainTexts::kSerialOpenFailed
           : usb  ? MainTexts::kUsbOpenFailed
                  : MainTexts::kNetOpenFailed;
  if (event.kind == Kind::Lost)
    return serial ? Texts::kComPortFailed : usb ? Texts::kUsbFailed : Texts::kNetworkFailed;
  if (event.kind == Kind::FirmwareRefused) return firmwareRefusal(event.verdict, variant);
  for (const auto& [kind, text] : kOneText)
    if (kind == event.kind) return text;
  return std::nullopt;
}

}  // namespace

LinkReactions::LinkReactions(editor::EditorSession& session, QtNotifier& notifier, PortLister ports,
                             QWidget* window)
    : QObject(window),
      session_(session),
      connection_(session.connection()),
      image_(session.image()),
      ports_(std::move(ports)),
      window_(window) {
  connect(&notifier, &QtNotifier::posted, this, &LinkReactions::onPosted);
  connect(&notifier, &QtNotifier::idSearchProgressChanged, this, [this](int id) {
    if (connectDialog_) connectDialog_->setSearchProgress(id);
  });
  connect(&notifier, &QtNotifier::idSearchStopped, this, &LinkReactions::showFoundIds);
  connect(&notifier, &QtNotifier::warning, this,
          [this](const QString& text) { MessageBoxes::warn(window_, MainTexts::kApplicationError, text); });
}

// --- opening and closing ----------------------------------------------------

void LinkReactions::onLinkButton() {
  if (connection_.isConnected()) {
    endLink();
    return;
  }
  ConnectDlg dialog(window_, choices_, ports_ ? ports_() : std::vector<SerialPortChoice>{},
                    image_.read([](const ImageData& d) { return d.connection.idTable; }));
  dialog.onSearch = [this](const QString& port) { return startIdSearch(port); };
  connectDialog_ = &dialog;
  emit connectDialogOpened(&dialog);
  const int result = dialog.exec();
  connectDialog_ = nullptr;
  // Closing the dialog ends a search that still runs.
  if (connection_.idSearchRunning()) endLink();
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

bool LinkReactions::connectTo(LinkType link, const QString& address, int deviceId) {
  if (link == LinkType::Serial) choices_.serialPort = address, choices_.deviceId = deviceId;
  if (link == LinkType::Network) choices_.networkAddress = address;
  if (!connection_.connect(link, address.toStdString(), deviceId)) {
    tell(editor::LinkEvent(editor::LinkEvent::Kind::OpenFailed, link, address.toStdString()));
    return false;
  }
  // The window opens links itself, not through the session: the history
  // of the editor's last device is forgotten here.
  session_.history().clear();
  emit linkOpened();
  return true;
}

void LinkReactions::endLink() {
  connection_.disconnect();
  session_.history().clear();
  emit linkEnded();
}

// --- the ID search ------------------------------------------------------------

SearchStart LinkReactions::startIdSearch(const QString& port) {
  const SearchStart start = connection_.startIdSearch(port.toStdString());
  if (start == SearchStart::PortFailed) MessageBoxes::inform(window_, MainTexts::kSerialOpenFailed);
  return start;
}

void LinkReactions::showFoundIds() {
  if (connectDialog_)
    connectDialog_->showFoundIds(image_.read([](const ImageData& d) { return d.connection.idTable; }));
}

// --- the device ID ------------------------------------------------------------

void LinkReactions::onDeviceId() {
  if (image_.read([](const ImageData& d) { return d.locks.isLocked(LockFlag::DeviceId); })) {
    Set_Warn_Dlg(window_, Set_Warn_Dlg::Topic::Device).exec();
    return;
  }
  const LinkType link = connection_.linkType();
  DeviceDlg dialog(window_, link != LinkType::None, link == LinkType::Serial,
                   image_.read([](const ImageData& d) { return d.connection.idTable; }));
  if (dialog.exec() != QDialog::Accepted || !connection_.isConnected()) return;
  const int id = dialog.chosenId();
  if (dialog.choice() == DeviceDlg::Choice::Reconnect) {
    connection_.reconnectTo(id);
    session_.history().clear();
  } else if (id != image_.read([](const ImageData& d) { return d.connection.deviceId; }))
    session_.command().SendDeviceIdCommand(FrameCode::CmdWrite, id);
  emit statusChanged();
}

// --- what the core reports ----------------------------------------------------

void LinkReactions::onPosted(int message, qintptr wParam, qintptr lParam) {
  switch (static_cast<Message>(message)) {
    case Message::ChannelDataRead:
      emit deviceRead();
      break;
    case Message::AllProgramsRead:
      emit allProgramsRead();
      break;
    case Message::LevelsRead:
      // Levels still queued when the link closed would light the meters of
      // an editor that is no longer connected.
      if (connection_.isConnected()) emit levelsRead();
      break;
    default:
      if (const auto event = session_.linkWatch().onPosted(static_cast<Message>(message), wParam, lParam))
        tell(*event);
      break;
  }
}

void LinkReactions::tell(const editor::LinkEvent& event) {
  if (event.closesLink()) endLink();
  if (event.kind == Kind::SearchEnded)
    showFoundIds();
  else if (const auto text = textOf(event, session_.variant()))
    MessageBoxes::inform(window_, *text);
}

}  // namespace orvane::ui
