#pragma once

// The transfer popup: shown while a transfer that drives the progress bar
// runs, with a blinking text; when the transfer ends it says so for two
// seconds and goes away. The main window is disabled while it shows, so the
// user cannot change what is being transferred.

#include <QDialog>
#include <QTimer>

class QLabel;

namespace orvane::ui {

class DisplayDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kBlinkMs = 200;
  static constexpr int kEndShownMs = 2000;

  explicit DisplayDlg(QWidget* mainWindow);

  bool transferInProgress() const { return inProgress_; }
  QString text() const;

 public slots:
  void setTransferInProgress(bool inProgress);
  // Hides at once (a lost link ends the transfer without the end text).
  void dismiss();

 private:
  void tick();
  void finish();
  void applyColour();

  QWidget* mainWindow_;
  QLabel* label_;
  QTimer blink_;
  bool inProgress_ = false;
  bool ending_ = false;
  bool red_ = false;
};

}  // namespace orvane::ui
