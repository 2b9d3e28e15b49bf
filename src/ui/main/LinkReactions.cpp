#include "ui/main/LinkReactions.h"

#include <QWidget>

#include "model/ProductVariant.h"
#include "model/Texts.h"
#include "ui/common/MessageBoxes.h"
#include "ui/locks/Set_Warn_Dlg.h"
#include "ui/main/DeviceDlg.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

LinkReactions::LinkReactions(ConnectionManager& connection, Command& command, ParameterImage& image,
                             QtNotifier& notifier, PortLister ports, QWidget* window)
    : QObject(window),
      connection_(connection),
      command_(command),
      image_(image),
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
    showOpenFailure(link);
    return false;
  }
  emit linkOpened();
  return true;
}

void LinkReactions::showOpenFailure(LinkType link) {
  switch (link) {
    case LinkType::Serial:
      MessageBoxes::inform(window_, MainTexts::kSerialOpenFailed);
      break;
    case LinkType::Usb:
      MessageBoxes::inform(window_, MainTexts::kUsbOpenFailed);
      break;
    default:
      MessageBoxes::inform(window_, MainTexts::kNetOpenFailed);
      break;
  }
}

void LinkReactions::endLink() {
  connection_.disconnect();
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
  if (dialog.choice() == DeviceDlg::Choice::Reconnect)
    connection_.reconnectTo(id);
  else if (id != image_.read([](const ImageData& d) { return d.connection.deviceId; }))
    command_.SendDeviceIdCommand(FrameCode::CmdWrite, id);
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
    case Message::LinkLost:
      onLinkLost(static_cast<LinkType>(wParam), static_cast<int>(lParam));
      break;
    case Message::LevelsRead:
      // Levels still queued when the link closed would light the meters of
      // an editor that is no longer connected.
      if (connection_.isConnected()) emit levelsRead();
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

void LinkReactions::onLinkLost(LinkType link, int kind) {
  const LinkLoss loss = connection_.classifyLoss(link);
  if (loss == LinkLoss::Stale) return;
  endLink();
  if (loss == LinkLoss::SearchEnded) {
    showFoundIds();
    return;
  }
  if (kind == static_cast<int>(ReplyKind::NetworkNameWrite))
    MessageBoxes::inform(window_, MainTexts::kRenameFailed);
  else if (kind == static_cast<int>(ReplyKind::NetworkFactoryReset))
    MessageBoxes::inform(window_, MainTexts::kFactoryResetFailed);
  else if (link == LinkType::Serial)
    MessageBoxes::inform(window_, Texts::kComPortFailed);
  else if (link == LinkType::Usb)
    MessageBoxes::inform(window_, Texts::kUsbFailed);
  else
    MessageBoxes::inform(window_, Texts::kNetworkFailed);
}

void LinkReactions::onFirmwareRead() {
  const ProductVariant& variant = ProductVariant::current();
  const FirmwareVerdict verdict = connection_.checkFirmware(variant);
  if (verdict == FirmwareVerdict::Accepted || !connection_.isConnected()) return;
  endLink();
  const bool j = variant.modelCode == 7304;
  switch (verdict) {
    case FirmwareVerdict::WrongProduct:
      MessageBoxes::inform(window_, MainTexts::kWrongProduct);
      break;
    case FirmwareVerdict::DeviceOlder:
      MessageBoxes::inform(window_, j ? MainTexts::kDeviceOlderJ : MainTexts::kDeviceOlderS);
      break;
    default:
      MessageBoxes::inform(window_, j ? MainTexts::kDeviceNewerJ : MainTexts::kDeviceNewerS);
      break;
  }
}

// Over the network the module restarts after a rename or a reset and the
// link ends: the lost link is the one outcome the user is told, also when
// the acknowledgement was still on its way.
void LinkReactions::onNetworkOperationDone(int kind) {
  if (!connection_.isConnected() || connection_.linkType() == LinkType::Network) return;
  if (kind == static_cast<int>(ReplyKind::NetworkNameWrite))
    MessageBoxes::inform(window_, MainTexts::kRenameDone);
  else if (kind == static_cast<int>(ReplyKind::NetworkFactoryReset))
    MessageBoxes::inform(window_, MainTexts::kFactoryResetDone);
}

}  // namespace orvane::ui
