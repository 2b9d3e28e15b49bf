#pragma once

// The editor's side of the link: the connection dialog and the device-ID
// dialog, opening a link, and what the main window does when the core
// reports — the device read, new levels, the progress of an ID search, and
// the link events the session's watch makes of the rest (a lost link, the
// firmware refused, a rename or reset of the network module), which become
// message boxes. Every way a link ends goes through endLink(), which ends
// an ID search, resets the editor and has the window show the reset values.
// A link opened, ended or moved to another device ID forgets the edit
// history: the device may have changed meanwhile.

#include <QObject>
#include <QPointer>
#include <functional>

#include "editor/EditorSession.h"
#include "ui/common/ConnectionChoices.h"
#include "ui/main/ConnectDlg.h"
#include "ui/main/QtNotifier.h"

class QWidget;

namespace orvane::ui {

class LinkReactions : public QObject {
  Q_OBJECT

 public:
  // Lists the serial ports for the connection dialog.
  using PortLister = std::function<std::vector<SerialPortChoice>()>;

  LinkReactions(editor::EditorSession& session, QtNotifier& notifier, PortLister ports, QWidget* window);

  // Connects as if the user had chosen this link in the connection dialog;
  // tells the user when the link cannot be opened.
  bool connectTo(LinkType link, const QString& address, int deviceId);
  // Closes whatever is open (a link or an ID search) and resets the editor.
  void endLink();
  // The link button: closes an open link, else asks how to connect.
  void onLinkButton();
  // The device-ID button.
  void onDeviceId();

  ConnectionChoices& choices() { return choices_; }
  // The connection dialog while it is open.
  ConnectDlg* connectDialog() const { return connectDialog_; }

 signals:
  void connectDialogOpened(ConnectDlg* dialog);
  void linkOpened();
  // The link is closed and the editor reset: the window shows it.
  void linkEnded();
  // The full read is done: the window shows the device's parameters.
  void deviceRead();
  // The device's thirty programs are in the program store.
  void allProgramsRead();
  // New levels of an open link.
  void levelsRead();
  void statusChanged();

 private:
  void onPosted(int message, qintptr wParam, qintptr lParam);
  // Closes the link where the event ended it, and tells the user.
  void tell(const editor::LinkEvent& event);
  SearchStart startIdSearch(const QString& port);
  void showFoundIds();

  editor::EditorSession& session_;
  ConnectionManager& connection_;
  ParameterImage& image_;
  PortLister ports_;
  QWidget* window_;
  ConnectionChoices choices_;
  QPointer<ConnectDlg> connectDialog_;
};

}  // namespace orvane::ui
