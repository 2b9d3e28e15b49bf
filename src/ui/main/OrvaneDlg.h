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
#include <optional>

#include "link/ConnectionManager.h"
#include "link/LinkGroups.h"
#include "link/MasterSection.h"
#include "ui/main/ConnectDlg.h"
#include "ui/main/ConnectionChoices.h"
#include "ui/main/QtNotifier.h"

class QLineEdit;
class QPushButton;
class QToolButton;
class QLabel;
class QFrame;

namespace orvane::ui {

class ChannelStrip;
class CrosspointGrid;
class MasterPanel;
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
  // Page 0 = matrix, 1 = input page of input `channel`, 2 = output page of
  // output `channel`; moves the strip highlight and points the master
  // section at the side shown.
  void SelectPage(int kind, int channel);
  // Disables (and, where a value would show, marks "Lock") every control of
  // the window whose function lock is set.
  void ApplyLocks();
  // Shows the image's gain of one channel in its strip (after a page
  // changed it).
  void RefreshInputGain(int channel);
  void RefreshOutputGain(int channel);

  ChannelStrip* inputStrip(int channel) const { return inputStrips_.at(static_cast<std::size_t>(channel)); }
  ChannelStrip* outputStrip(int channel) const { return outputStrips_.at(static_cast<std::size_t>(channel)); }
  ChannelStrip* strip(Side side, int channel) const {
    return side == Side::Input ? inputStrip(channel) : outputStrip(channel);
  }
  MasterPanel* masterPanel() const { return masterPanel_; }
  CrosspointGrid* crosspointGrid() const { return crosspoints_; }
  LinkGroups& linkGroups() { return links_; }
  MasterSection& masterSection() { return master_; }

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
  QWidget* buildConsole();
  QWidget* buildInputs(QWidget* parent);
  QWidget* buildOutputs(QWidget* parent);
  QWidget* buildWorkArea(QWidget* parent);
  void wireStrip(ChannelStrip* strip);
  bool isLocked(int flag) const;
  // The side the master section works on: that of the page shown, none for
  // the matrix page.
  std::optional<Side> masterSide() const;
  QString channelName(Side side, int channel) const;
  void refreshCrosspoints();
  void onStripGain(Side side, int channel, int gain);
  void onStripMute(Side side, int channel, bool sounding);
  void onStripCurve(Side side, int channel);
  void onStripLinkGroup(Side side, int channel, int group);
  void onStripName(Side side, int channel, const QString& text);
  void onMasterLevel(int level);
  void onMasterMute();
  void onCrosspoint(int input, int output);
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
  LinkGroups links_;
  MasterSection master_;
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
  std::array<ChannelStrip*, kChannels> inputStrips_{};
  std::array<ChannelStrip*, kChannels> outputStrips_{};
  MasterPanel* masterPanel_ = nullptr;
  CrosspointGrid* crosspoints_ = nullptr;
  QLabel* graphTitle_ = nullptr;
  QFrame* graphArea_ = nullptr;
  QFrame* pageArea_ = nullptr;
  QPointer<ConnectDlg> connectDialog_;
};

}  // namespace orvane::ui
