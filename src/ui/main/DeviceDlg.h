#pragma once

// The device-ID dialog: give the connected device a new ID, or re-connect to
// another device found on the RS-485 bus.

#include <QDialog>

#include "model/ConnectionState.h"

class QComboBox;
class QRadioButton;

namespace orvane::ui {

class DeviceDlg : public QDialog {
  Q_OBJECT

 public:
  enum class Choice { ChangeId, Reconnect };

  DeviceDlg(QWidget* parent, bool connected, bool onSerialBus,
            const std::array<std::uint8_t, ConnectionState::kMaxDeviceId>& foundIds);

  Choice choice() const;
  int chosenId() const;

  QRadioButton* changeButton() const { return change_; }
  QRadioButton* reconnectButton() const { return reconnect_; }
  QComboBox* newIdBox() const { return newIds_; }
  QComboBox* foundIdBox() const { return foundIds_; }

 private:
  QRadioButton* change_;
  QRadioButton* reconnect_;
  QComboBox* newIds_;
  QComboBox* foundIds_;
};

}  // namespace orvane::ui
