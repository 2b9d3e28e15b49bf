#include "ui/main/DeviceDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

#include "ui/common/UiText.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

DeviceDlg::DeviceDlg(QWidget* parent, bool connected, bool onSerialBus,
                     const std::array<std::uint8_t, ConnectionState::kMaxDeviceId>& foundIds)
    : QDialog(parent) {
  setWindowTitle(uiText(MainTexts::kDeviceIdTitle));
  change_ = new QRadioButton(uiText(MainTexts::kChangeId), this);
  reconnect_ = new QRadioButton(uiText(MainTexts::kReconnectId), this);
  newIds_ = new QComboBox(this);
  for (int id = 1; id <= ConnectionState::kMaxDeviceId; ++id) newIds_->addItem(QString::number(id));
  foundIds_ = new QComboBox(this);
  for (std::uint8_t id : foundIds)
    if (id != 0) foundIds_->addItem(QString::number(id));
  change_->setChecked(true);

  change_->setEnabled(connected);
  newIds_->setEnabled(connected);
  reconnect_->setEnabled(onSerialBus);
  foundIds_->setEnabled(onSerialBus);
  if (!connected && onSerialBus) reconnect_->setChecked(true);

  auto* ok = new QPushButton(uiText(MainTexts::kOk), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(change_, 0, 0);
  layout->addWidget(newIds_, 0, 1);
  layout->addWidget(reconnect_, 1, 0);
  layout->addWidget(foundIds_, 1, 1);
  layout->addWidget(ok, 2, 1, Qt::AlignRight);
}

DeviceDlg::Choice DeviceDlg::choice() const {
  return reconnect_->isChecked() ? Choice::Reconnect : Choice::ChangeId;
}

int DeviceDlg::chosenId() const {
  const QComboBox* box = choice() == Choice::Reconnect ? foundIds_ : newIds_;
  return box->currentIndex() >= 0 ? box->currentText().toInt() : 0;
}

}  // namespace orvane::ui
