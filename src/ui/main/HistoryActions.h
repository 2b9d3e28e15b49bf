#pragma once

// Undo and redo in the main window: two actions with the keys Ctrl+Z
// (undo), Ctrl+Shift+Z and Ctrl+Y (redo), which the tool bar shows as its
// Undo and Redo buttons. Their tool tips name the step they would take back
// or do again; when there is none they are disabled. An undo or a redo
// writes the earlier or later values into the edited image, and the worker
// sends the rows that differ; the filter models of the channels it changed
// are reloaded and the window is told to show the image anew. A step
// skipped because a function it changes is locked on the device is told in
// a message.
//
// The keys belong to the history wherever the focus is in the window, with
// one exception: a text field holding typing not yet taken takes back that
// typing first, as text fields do; it never reached the image.

#include <QObject>

#include "editor/EditorSession.h"
#include "ui/widgets/WindowPart.h"

class QAction;
class QKeyEvent;
class QWidget;

namespace orvane::ui {

class GestureSteps;

class HistoryActions : public QObject, public WindowPart {
  Q_OBJECT

 public:
  HistoryActions(editor::EditorSession& session, GestureSteps& gestures, QWidget* window);
  ~HistoryActions() override;

  QAction* undoAction() const { return undo_; }
  QAction* redoAction() const { return redo_; }

  void undo() { take(true); }
  void redo() { take(false); }
  // Enables the actions and names their steps, in the current language.
  void showSteps();

  void refreshFromImage() override { showSteps(); }
  void applyLanguage() override { showSteps(); }

 signals:
  // An undo or redo changed the image under the window's controls.
  void imageRestored();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void take(bool undoing);
  // Whether `key` is one of the actions' keys and a typing field with the
  // focus has nothing of its own to take back with it.
  bool leftToHistory(QObject* watched, const QKeyEvent& key) const;

  editor::EditorSession& session_;
  GestureSteps& gestures_;
  QWidget* window_;
  QAction* undo_;
  QAction* redo_;
};

}  // namespace orvane::ui
