#pragma once

// The connection dialog: USB, network (with the device's address) or the
// RS-485 bus (port and device ID, with the search for the IDs on the bus).
// Each group has its own Connect button; the dialog's result names the link.

#include <QDialog>
#include <functional>
#include <vector>

#include "link/ConnectionManager.h"
#include "model/ConnectionState.h"
#include "ui/common/ConnectionChoices.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace orvane::ui {

class GradientProgressCtrl;

struct SerialPortChoice {
  QString name;
  bool usbAttached = false;
};

class ConnectDlg : public QDialog {
  Q_OBJECT

 public:
  // `foundIds`: the ID-search table (entry n-1 = n when device n answered).
  ConnectDlg(QWidget* parent, ConnectionChoices& choices, std::vector<SerialPortChoice> ports,
             const std::array<std::uint8_t, ConnectionState::kMaxDeviceId>& foundIds);

  // Result codes: the link the user chose to connect by.
  static constexpr int kSerial = 1;
  static constexpr int kUsb = 2;
  static constexpr int kNetwork = 3;

  // Asked when the user presses "Search ID" with the chosen port.
  std::function<SearchStart(const QString& port)> onSearch;

  GradientProgressCtrl* searchProgress() const { return progress_; }
  QComboBox* portBox() const { return ports_; }
  QComboBox* idBox() const { return ids_; }
  QLineEdit* addressField() const { return address_; }
  QPushButton* searchButton() const { return search_; }

 public slots:
  // The search ended: list what was found and choose the first.
  void showFoundIds(const std::array<std::uint8_t, ConnectionState::kMaxDeviceId>& foundIds);
  void setSearchProgress(int id);
  void acceptUsb();
  void acceptNetwork();
  void acceptSerial();
  void search();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* usbGroup();
  QWidget* networkGroup();
  QWidget* serialGroup(const std::vector<SerialPortChoice>& ports);
  void rememberPort();

  ConnectionChoices& choices_;
  QComboBox* ports_ = nullptr;
  QComboBox* ids_ = nullptr;
  QLineEdit* address_ = nullptr;
  QPushButton* usbConnect_ = nullptr;
  QPushButton* search_ = nullptr;
  GradientProgressCtrl* progress_ = nullptr;
};

}  // namespace orvane::ui
