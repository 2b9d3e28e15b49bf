#include "ui/main/HistoryActions.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/main/GestureSteps.h"
#include "ui/main/MainTexts.h"

namespace orvane::ui {

namespace {

QAction* makeAction(QObject* owner, QWidget* window, const char* name, const QList<QKeySequence>& keys) {
  auto* action = new QAction(owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcuts(keys);
  action->setShortcutContext(Qt::WindowShortcut);
  window->addAction(action);
  return action;
}

// Names the step `action` would take, or disables it when there is none.
void showStep(QAction* action, const BiText& word, const BiText& named,
              const std::optional<std::string>& step) {
  action->setText(uiText(word));
  action->setEnabled(step.has_value());
  action->setToolTip(step && !step->empty() ? uiText(named).arg(QString::fromStdString(*step))
                                            : uiText(word));
}

}  // namespace

HistoryActions::HistoryActions(editor::EditorSession& session, GestureSteps& gestures, QWidget* window)
    : session_(session),
      gestures_(gestures),
      window_(window),
      undo_(makeAction(this, window, "undo", {QKeySequence(Qt::CTRL | Qt::Key_Z)})),
      redo_(
          makeAction(this, window, "redo",
                     {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})) {
  connect(undo_, &QAction::triggered, this, &HistoryActions::undo);
  connect(redo_, &QAction::triggered, this, &HistoryActions::redo);
  qApp->installEventFilter(this);
  showSteps();
}

HistoryActions::~HistoryActions() {
  qApp->removeEventFilter(this);
}

void HistoryActions::showSteps() {
  editor::EditHistory& history = session_.history();
  showStep(undo_, MainTexts::kUndo, MainTexts::kUndoStep, history.undoName());
  showStep(redo_, MainTexts::kRedo, MainTexts::kRedoStep, history.redoName());
}

// The step goes back or forth outside any gesture; the channels whose blocks
// it changed get their filter models from the image again.
void HistoryActions::take(bool undoing) {
  editor::EditHistory& history = session_.history();
  if (!(undoing ? history.undoName() : history.redoName())) {
    showSteps();
    return;
  }
  ParameterImage& image = session_.image();
  const auto edited = [&image] { return image.read([](const ImageData& d) { return d.edited; }); };
  const BlockSet before = edited();
  editor::EditHistory::Outcome outcome;
  gestures_.outside([&] { outcome = undoing ? history.undo() : history.redo(); });
  const BlockSet after = edited();
  for (const Side side : {Side::Input, Side::Output})
    for (int channel = 0; channel < kChannels; ++channel) {
      const auto was = before.block(side, channel);
      const auto is = after.block(side, channel);
      if (!std::equal(was.begin(), was.end(), is.begin())) session_.filters().channelReloaded(side, channel);
    }
  emit imageRestored();
  showSteps();
  if (!outcome.applied && !outcome.message.empty())
    MessageBoxes::inform(window_, uiText(undoing ? MainTexts::kUndoStep : MainTexts::kRedoStep)
                                      .arg(QString::fromStdString(outcome.message)));
}

// A shortcut override left unaccepted lets the window's action take the key.
bool HistoryActions::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride || !leftToHistory(watched, *static_cast<QKeyEvent*>(event)))
    return QObject::eventFilter(watched, event);
  event->ignore();
  return true;
}

bool HistoryActions::leftToHistory(QObject* watched, const QKeyEvent& key) const {
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_) return false;
  const QKeySequence pressed(key.keyCombination());
  const bool undoKey = undo_->shortcuts().contains(pressed);
  if (!undoKey && !redo_->shortcuts().contains(pressed)) return false;
  const auto* field = qobject_cast<const QLineEdit*>(widget);
  return !field || !field->isModified() || !(undoKey ? field->isUndoAvailable() : field->isRedoAvailable());
}

}  // namespace orvane::ui
