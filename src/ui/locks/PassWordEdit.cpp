#include "ui/locks/PassWordEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>

#include "model/Password.h"

namespace orvane::ui {

namespace {

// What is left of `text` once everything but letters and digits is dropped.
QString allowedPart(const QString& text) {
  QString kept;
  for (const QChar c : text)
    if (Password::isAllowed(c.unicode())) kept.append(c);
  return kept;
}

}  // namespace

PassWordEdit::PassWordEdit(QWidget* parent) : QLineEdit(parent) {
  setEchoMode(QLineEdit::Password);
  setMaxLength(static_cast<int>(Password::kLength));
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

// Characters other than letters and digits are ignored; editing keys,
// moving keys and Enter work as usual. A paste takes only the letters and
// digits of the clipboard.
void PassWordEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    insert(allowedPart(QGuiApplication::clipboard()->text()));
    return;
  }
  const QString text = event->text();
  const bool printable = !text.isEmpty() && text.at(0).isPrint();
  if (printable && allowedPart(text) != text) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

// No menu: there is nothing to copy, and a paste goes through the keyboard.
void PassWordEdit::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
}

}  // namespace orvane::ui
