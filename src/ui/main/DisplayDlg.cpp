#include "ui/main/DisplayDlg.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/common/UiText.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

namespace {
const QColor kBackground(229, 229, 229);
const QColor kNavy(0, 0, 128);
const QColor kRed(255, 0, 0);
constexpr int kTextPixels = 18;
const QPoint kScreenPosition(500, 400);
}  // namespace

DisplayDlg::DisplayDlg(QWidget* mainWindow) : QDialog(mainWindow, Qt::Tool), mainWindow_(mainWindow) {
  setModal(false);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, kBackground);
  setPalette(palette);
  label_ = new QLabel(this);
  QFont font = label_->font();
  font.setPixelSize(kTextPixels);
  label_->setFont(font);
  label_->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  setMinimumSize(320, 80);
  blink_.setInterval(kBlinkMs);
  connect(&blink_, &QTimer::timeout, this, &DisplayDlg::tick);
}

QString DisplayDlg::text() const {
  return label_->text();
}

void DisplayDlg::setTransferInProgress(bool inProgress) {
  inProgress_ = inProgress;
  if (!inProgress || (isVisible() && !ending_)) return;
  ending_ = false;
  setWindowTitle(uiText(MainTexts::kTransferTitle));
  label_->setText(uiText(MainTexts::kTransferRunning));
  applyColour();
  move(kScreenPosition);
  show();
  if (mainWindow_) mainWindow_->setEnabled(false);
  blink_.start();
}

void DisplayDlg::tick() {
  if (inProgress_) {
    red_ = !red_;
    applyColour();
    return;
  }
  if (ending_) return;
  ending_ = true;
  label_->setText(uiText(MainTexts::kTransferEnded));
  QTimer::singleShot(kEndShownMs, this, &DisplayDlg::finish);
}

void DisplayDlg::finish() {
  if (!ending_ || inProgress_) return;
  dismiss();
}

void DisplayDlg::dismiss() {
  inProgress_ = false;
  ending_ = false;
  blink_.stop();
  hide();
  if (mainWindow_) mainWindow_->setEnabled(true);
}

void DisplayDlg::applyColour() {
  QPalette palette = label_->palette();
  palette.setColor(QPalette::WindowText, red_ ? kRed : kNavy);
  label_->setPalette(palette);
}

}  // namespace orvane::ui
