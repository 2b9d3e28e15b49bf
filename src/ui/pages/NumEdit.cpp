#include "ui/pages/NumEdit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWheelEvent>
#include <algorithm>

#include "ui/common/MessageBoxes.h"
#include "ui/common/UiText.h"
#include "ui/pages/NumTexts.h"

namespace orvane::ui {

namespace {

// One notch of an ordinary mouse wheel; finer wheels and touch pads add up
// to it.
constexpr int kWheelNotch = 120;

// The widest text a field normally shows, to size it.
constexpr char kWidestText[] = "-0000.00";
constexpr int kTextMargin = 14;

}  // namespace

NumEdit::NumEdit(QWidget* parent) : QLineEdit(parent) {
  setAlignment(Qt::AlignCenter);
  // Text arrives only through the keyboard filter: no drops, no input
  // method composing characters the field cannot hold.
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  redisplay();
}

void NumEdit::setDisplayKind(NumKind kind, const QString& suffix) {
  format_.kind = kind;
  format_.suffix = suffix.toStdString();
  setReadOnly(!format_.takesTypedText());
  setAttribute(Qt::WA_InputMethodEnabled, false);  // setReadOnly turns it back on
  redisplay();
}

void NumEdit::setStep(double step) {
  format_.step = step;
  redisplay();
}

void NumEdit::setOffset(double offset) {
  format_.offset = offset;
  redisplay();
}

void NumEdit::setRange(int minimum, int maximum) {
  if (minimum > maximum) std::swap(minimum, maximum);
  format_.minimum = minimum;
  format_.maximum = maximum;
  value_ = minimum;
  redisplay();
}

bool NumEdit::setValueChecked(int code) {
  if (code < format_.minimum || code > format_.maximum) return false;
  store(code);
  return true;
}

void NumEdit::commit() {
  if (takeTyped()) emit valueEdited(value_);
}

bool NumEdit::applyArrowSteps(int steps) {
  if (!acceptsInput()) return false;
  bool changed = takeTyped();
  const int next = format_.arrowStep(value_, steps);
  if (next != value_) {
    store(next);
    changed = true;
  }
  return changed;
}

void NumEdit::setLocked(bool locked) {
  if (locked == locked_) return;
  locked_ = locked;
  wheelAccumulator_ = 0;
  // Shown before the field is disabled: losing the focus then finds no
  // typing left to take.
  redisplay();
  setEnabled(!locked);
}

void NumEdit::setMirror(QObject* mirror) {
  mirror_ = mirror;
  if (mirror_) mirror_->setProperty("text", displayText());
}

QString NumEdit::displayText() const {
  if (locked_) return uiText(NumTexts::kLock);
  return QString::fromStdString(format_.text(value_));
}

QSize NumEdit::sizeHint() const {
  QSize hint = QLineEdit::sizeHint();
  hint.setWidth(fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestText)) + kTextMargin);
  return hint;
}

void NumEdit::refresh() {
  redisplay();
}

void NumEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Takes the typing but keeps the focus, so Enter never closes the
      // dialog around the field.
      commit();
      setCursorPosition(0);
      event->accept();
      return;
    case Qt::Key_Escape:
      if (isModified()) {
        redisplay();
        event->accept();
      } else {
        event->ignore();
      }
      return;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (applyArrowSteps(event->key() == Qt::Key_Up ? 1 : -1)) emit valueEdited(value_);
      event->accept();
      return;
    default:
      break;
  }
  if (event->matches(QKeySequence::Paste)) {
    pasteFiltered();
    event->accept();
    return;
  }
  const QString typed = event->text();
  const bool shortcut = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
  if (!shortcut && !typed.isEmpty() && typed.at(0).isPrint()) {
    const QList<uint> characters = typed.toUcs4();
    const bool accepted = std::all_of(characters.begin(), characters.end(), [](uint c) {
      return NumFormat::acceptsCharacter(static_cast<char32_t>(c));
    });
    if (!accepted) {
      event->accept();  // swallowed
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void NumEdit::focusOutEvent(QFocusEvent* event) {
  // The field's own context menu takes the focus for a moment; the typing
  // is not finished then.
  if (event->reason() != Qt::PopupFocusReason && !menuOpen_) commit();
  QLineEdit::focusOutEvent(event);
}

void NumEdit::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (!acceptsInput() || delta == 0) {
    event->ignore();
    return;
  }
  turnWheel(delta);
  event->accept();
}

void NumEdit::turnWheel(int angleDelta) {
  if (!acceptsInput()) return;
  wheelAccumulator_ = std::clamp(wheelAccumulator_ + angleDelta, -kWheelNotch, kWheelNotch);
  if (wheelAccumulator_ != kWheelNotch && wheelAccumulator_ != -kWheelNotch) return;
  const int notches = wheelAccumulator_ > 0 ? 1 : -1;
  wheelAccumulator_ = 0;
  bool changed = takeTyped();
  const int next = format_.wheelStep(value_, notches);
  if (next != value_) {
    store(next);
    changed = true;
  }
  if (changed) emit valueEdited(value_);
}

void NumEdit::inputMethodEvent(QInputMethodEvent* event) {
  insertFiltered(event->commitString());
  event->accept();
}

void NumEdit::contextMenuEvent(QContextMenuEvent* event) {
  // Built here rather than taken from the line edit, whose paste would let
  // any text in.
  QMenu menu(this);
  const bool editable = !isReadOnly();
  const auto add = [&menu](const BiText& text, const QKeySequence& keys, const char* name, bool enabled,
                           auto&& slot) {
    QAction* action = menu.addAction(uiText(text));
    action->setShortcut(keys);
    action->setShortcutVisibleInContextMenu(true);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    QObject::connect(action, &QAction::triggered, &menu, slot);
  };
  add(NumTexts::kUndo, QKeySequence::Undo, "edit-undo", editable && isUndoAvailable(), [this] { undo(); });
  add(NumTexts::kRedo, QKeySequence::Redo, "edit-redo", editable && isRedoAvailable(), [this] { redo(); });
  menu.addSeparator();
  add(NumTexts::kCut, QKeySequence::Cut, "edit-cut", editable && hasSelectedText(), [this] { cut(); });
  add(NumTexts::kCopy, QKeySequence::Copy, "edit-copy", hasSelectedText(), [this] { copy(); });
  add(NumTexts::kPaste, QKeySequence::Paste, "edit-paste", editable, [this] { pasteFiltered(); });
  add(NumTexts::kDelete, QKeySequence(), "edit-delete", editable && hasSelectedText(), [this] { del(); });
  menu.addSeparator();
  add(NumTexts::kSelectAll, QKeySequence::SelectAll, "select-all", !text().isEmpty(),
      [this] { selectAll(); });
  menuOpen_ = true;
  menu.exec(event->globalPos());
  menuOpen_ = false;
  event->accept();
}

void NumEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) redisplay();
  QLineEdit::changeEvent(event);
}

bool NumEdit::takeTyped() {
  if (!isModified() || locked_) return false;
  if (!format_.takesTypedText()) {
    redisplay();
    return false;
  }
  const NumParsed parsed = format_.parse(text().toStdString(), value_);
  const bool changed = parsed.code != value_;
  store(parsed.code);
  if (parsed.outOfRange) {
    ++outOfRangeReports_;
    MessageBoxes::inform(this, NumTexts::kOutOfRange);
  }
  return changed;
}

void NumEdit::store(int code) {
  value_ = code;
  redisplay();
}

void NumEdit::redisplay() {
  const QString shown = displayText();
  setText(shown);  // also marks the text as not typed
  setCursorPosition(0);
  if (mirror_) mirror_->setProperty("text", shown);
}

void NumEdit::pasteFiltered() {
  if (const QClipboard* clipboard = QGuiApplication::clipboard()) insertFiltered(clipboard->text());
}

void NumEdit::insertFiltered(const QString& text) {
  if (isReadOnly() || !acceptsInput()) return;
  QString kept;
  for (const uint c : text.toUcs4()) {
    if (NumFormat::acceptsCharacter(static_cast<char32_t>(c))) kept.append(QChar(static_cast<char16_t>(c)));
  }
  if (!kept.isEmpty()) insert(kept);
}

}  // namespace orvane::ui
