#include "ui/main/ConnectDlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/UiText.h"
#include "ui/main/MainTexts.h"
#include "ui/widgets/GradientProgressCtrl.h"

namespace orvane::ui {

namespace {

QGroupBox* group(const BiText& title, QWidget* parent) {
  auto* box = new QGroupBox(uiText(title), parent);
  return box;
}

QHBoxLayout* buttonRow(QDialog* dialog, QPushButton* connectButton) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(connectButton);
  auto* cancel = new QPushButton(uiText(MainTexts::kCancel), dialog);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  row->addWidget(cancel);
  return row;
}

}  // namespace

ConnectDlg::ConnectDlg(QWidget* parent, ConnectionChoices& choices, std::vector<SerialPortChoice> ports,
                       const std::array<std::uint8_t, ConnectionState::kMaxDeviceId>& foundIds)
    : QDialog(parent), choices_(choices) {
  setWindowTitle(uiText(MainTexts::kConnectTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(usbGroup());
  layout->addWidget(networkGroup());
  layout->addWidget(serialGroup(ports));
  showFoundIds(foundIds);
  progress_->hide();
  usbConnect_->setFocus();
}

QWidget* ConnectDlg::usbGroup() {
  auto* box = group(MainTexts::kUsbGroup, this);
  usbConnect_ = new QPushButton(uiText(MainTexts::kConnect), box);
  usbConnect_->setObjectName("usbConnect");
  usbConnect_->setDefault(true);
  connect(usbConnect_, &QPushButton::clicked, this, &ConnectDlg::acceptUsb);
  box->setLayout(buttonRow(this, usbConnect_));
  return box;
}

QWidget* ConnectDlg::networkGroup() {
  auto* box = group(MainTexts::kNetworkGroup, this);
  auto* layout = new QVBoxLayout(box);
  auto* field = new QHBoxLayout;
  field->addWidget(new QLabel(uiText(MainTexts::kIp), box));
  address_ = new QLineEdit(choices_.networkAddress, box);
  address_->setObjectName("address");
  // Enter in the address field connects by the network, not by the
  // dialog's default (USB) button.
  address_->installEventFilter(this);
  field->addWidget(address_);
  layout->addLayout(field);
  auto* connectButton = new QPushButton(uiText(MainTexts::kConnect), box);
  connectButton->setObjectName("networkConnect");
  connect(connectButton, &QPushButton::clicked, this, &ConnectDlg::acceptNetwork);
  layout->addLayout(buttonRow(this, connectButton));
  return box;
}

QWidget* ConnectDlg::serialGroup(const std::vector<SerialPortChoice>& ports) {
  auto* box = group(MainTexts::kSerialGroup, this);
  auto* layout = new QVBoxLayout(box);

  auto* portRow = new QHBoxLayout;
  portRow->addWidget(new QLabel(uiText(MainTexts::kCom), box));
  ports_ = new QComboBox(box);
  ports_->setObjectName("ports");
  ports_->setEditable(true);  // a device path not listed (a virtual port) can be typed
  for (const SerialPortChoice& port : ports) ports_->addItem(port.name);
  if (ports.empty()) ports_->addItem(QStringLiteral("NULL"));
  // The last port chosen, else the first USB adapter, else the first port.
  int preselected = 0;
  for (std::size_t i = 0; i < ports.size(); ++i) {
    if (ports[i].usbAttached) {
      preselected = static_cast<int>(i);
      break;
    }
  }
  if (!choices_.serialPort.isEmpty()) {
    if (ports_->findText(choices_.serialPort) < 0) ports_->addItem(choices_.serialPort);
    preselected = ports_->findText(choices_.serialPort);
  }
  ports_->setCurrentIndex(preselected);
  portRow->addWidget(ports_, 1);
  layout->addLayout(portRow);

  auto* idRow = new QHBoxLayout;
  idRow->addWidget(new QLabel(uiText(MainTexts::kSearchIdLabel), box));
  ids_ = new QComboBox(box);
  ids_->setObjectName("ids");
  idRow->addWidget(ids_, 1);
  search_ = new QPushButton(uiText(MainTexts::kSearchIdButton), box);
  search_->setObjectName("search");
  connect(search_, &QPushButton::clicked, this, &ConnectDlg::search);
  idRow->addWidget(search_);
  layout->addLayout(idRow);

  progress_ = new GradientProgressCtrl(box);
  progress_->setRange(1, ConnectionState::kMaxDeviceId);
  progress_->setMinimumHeight(12);
  layout->addWidget(progress_);

  auto* connectButton = new QPushButton(uiText(MainTexts::kConnect), box);
  connectButton->setObjectName("serialConnect");
  connect(connectButton, &QPushButton::clicked, this, &ConnectDlg::acceptSerial);
  layout->addLayout(buttonRow(this, connectButton));
  return box;
}

void ConnectDlg::showFoundIds(const std::array<std::uint8_t, ConnectionState::kMaxDeviceId>& foundIds) {
  ids_->clear();
  for (std::uint8_t id : foundIds)
    if (id != 0) ids_->addItem(QString::number(id));
  ids_->setCurrentIndex(ids_->count() > 0 ? 0 : -1);
  choices_.deviceId = ids_->count() > 0 ? ids_->itemText(0).toInt() : 0;
  search_->setEnabled(true);
}

void ConnectDlg::setSearchProgress(int id) {
  progress_->show();
  progress_->setPosition(id);
}

void ConnectDlg::rememberPort() {
  choices_.serialPort = ports_->currentText().trimmed();
}

void ConnectDlg::acceptUsb() {
  done(kUsb);
}

void ConnectDlg::acceptNetwork() {
  choices_.networkAddress = address_->text().trimmed();
  done(kNetwork);
}

void ConnectDlg::acceptSerial() {
  rememberPort();
  choices_.deviceId = ids_->currentIndex() >= 0 ? ids_->currentText().toInt() : 0;
  done(kSerial);
}

// While a search runs its button stays disabled; the end of the search
// (showFoundIds) gives it back.
void ConnectDlg::search() {
  rememberPort();
  if (!onSearch) return;
  if (onSearch(choices_.serialPort) != SearchStart::Started) return;
  search_->setEnabled(false);
  progress_->show();
  progress_->setPosition(1);
}

bool ConnectDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == address_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      acceptNetwork();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orvane::ui
