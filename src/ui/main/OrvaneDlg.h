#pragma once

// The editor's main window: tool bar, link and language buttons, status
// fields, level meters, the progress bar and the transfer popup around the
// area where the channel strips, the graph and the pages live. It owns the
// link machinery (Command and the connection) and answers what the core
// reports.

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "link/ConnectionManager.h"
#include "ui/main/ConnectDlg.h"
#include "ui/main/ConnectionChoices.h"
#include "ui/main/QtNotifier.h"

class QLineEdit;
class QPushButton;
class QToolButton;
class QLabel;

namespace orvane::ui {

class DisplayDlg;
class GradientProgressCtrl;
class SLamp;

class OrvaneDlg : public QWidget {
  Q_OBJECT

 public:
  // Gives `command` its three transports.
  using TransportFactory = std::function<void(Command& command, ParameterImage& image)>;
  // Lists the serial ports for the connection dialog.
  using PortLister = std::function<std::vector<SerialPortChoice>()>;

  OrvaneDlg(ParameterImage& image, TransportFactory transports, PortLister ports, Timings timings = {});
  ~OrvaneDlg() override;

  // Connects as if the user had chosen this link in the connection dialog.
  bool connectTo(LinkType link, const QString& address, int deviceId);
  void disconnectLink();

  // Status fields: mode 0 not connected, 1 connected, 2 settings from a file.
  void RefreshStatus(int mode);
  void RefreshAll();
  void ApplyLanguage();

  ConnectionManager& connection() { return connection_; }
  Command& command() { return *command_; }
  QtNotifier& notifier() { return notifier_; }
  ConnectionChoices& choices() { return choices_; }
  DisplayDlg* transferPopup() const { return popup_; }
  SLamp* inputMeter(int channel) const { return inputMeters_.at(static_cast<std::size_t>(channel)); }
  SLamp* outputMeter(int channel) const { return outputMeters_.at(static_cast<std::size_t>(channel)); }
  QString statusText(int field) const;
  QPushButton* linkButton() const { return linkButton_; }
  QPushButton* languageButton() const { return languageButton_; }
  // The connection dialog while it is open (tests drive it).
  ConnectDlg* connectDialog() const { return connectDialog_; }

 signals:
  void connectDialogOpened(ConnectDlg* dialog);

 public slots:
  void onLinkButton();
  void onLanguageButton();
  void onHelp();
  void onDeviceId();
  void onAbout();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildWindow();
  QWidget* buildTopBar();
  QWidget* buildMeters();
  void wireNotifier();
  void onPosted(int message, qintptr wParam, qintptr lParam);
  void onLinkLost(LinkType link, int kind);
  void onLevels();
  void onFirmwareRead();
  void onNetworkOperationDone(int kind);
  void resetMeters();
  void showLinkState();
  bool startIdSearch(const QString& port);
  void showOpenFailure(LinkType link);

  ParameterImage& image_;
  QtNotifier notifier_;
  std::unique_ptr<Command> command_;
  ConnectionManager connection_;
  PortLister ports_;
  ConnectionChoices choices_;

  QPushButton* linkButton_ = nullptr;
  QPushButton* languageButton_ = nullptr;
  QToolButton* helpButton_ = nullptr;
  std::array<QPushButton*, 5> toolButtons_{};
  std::array<QLabel*, 3> statusLabels_{};
  std::array<QLineEdit*, 3> statusFields_{};
  std::array<QLabel*, 2> meterLabels_{};
  std::array<SLamp*, kChannels> inputMeters_{};
  std::array<SLamp*, kChannels> outputMeters_{};
  GradientProgressCtrl* progress_ = nullptr;
  DisplayDlg* popup_ = nullptr;
  QPointer<ConnectDlg> connectDialog_;
};

}  // namespace orvane::ui
