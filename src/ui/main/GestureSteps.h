#pragma once

// Makes every gesture of the user in the main window's console one step of
// the edit history. Pressing a mouse button or a key in the console (or in
// a drop list it opened) opens a step; once every button and key is let go
// the step closes, after the release was handled. So a whole fader or graph
// drag, a value typed and taken with Enter, a toggle, a choice from a drop
// list and the link-group copy it makes are each one step. A wheel turn is
// a step of its own, closed as soon as it was handled.
//
// A release that never comes back (a dialog took the mouse, the window lost
// the focus) is given up when the window is deactivated. A handler that
// runs a dialog of its own (a message about a typed value) keeps its step
// open until it returns, so what it changes after the dialog belongs to the
// gesture.
//
// Steps close without a name of their own: the history names them after
// the values they changed. Installed on the application, the filter sees the events
// before any widget does.

#include <QObject>
#include <QSet>
#include <functional>

#include "editor/EditHistory.h"

class QWidget;

namespace orvane::ui {

class GestureSteps : public QObject {
  Q_OBJECT

 public:
  // Steps of `history` for what the user does in `console`, a part of
  // `window`.
  GestureSteps(editor::EditHistory& history, QWidget* console, QWidget* window);
  ~GestureSteps() override;

  // Runs `action` (an undo, a redo) outside any gesture step: the step of a
  // gesture in progress closes first, and the rest of the gesture is a new
  // step.
  void outside(const std::function<void()>& action);

 signals:
  // A step is about to close: whatever a gesture still holds back is to be
  // delivered now (the graph's last drag report, which copies it to the
  // link group).
  void closing();
  // A step was closed; the history may hold a new one.
  void closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether `watched` is the console or in it, also inside a popup one of
  // its widgets opened.
  bool inConsole(QObject* watched) const;
  bool held() const { return mouseHeld_ || !keysHeld_.isEmpty(); }
  void open();
  // Closes the step once the event being delivered was handled.
  void closeSoon();
  void closeIfDone();
  void close();

  editor::EditHistory& history_;
  QWidget* console_;
  QWidget* window_;
  bool open_ = false;
  int openedAt_ = 0;  // the event-loop level the gesture began at
  bool mouseHeld_ = false;
  QSet<int> keysHeld_;
  bool closePosted_ = false;
  // A handler of the gesture still runs a loop of its own (a dialog).
  bool awaitingReturn_ = false;
};

}  // namespace orvane::ui
