#include "ui/locks/PassWordEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QValidator>

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

// Every way text gets into the field (keys, a paste, a drop, the middle
// button's paste of the selection) passes the validator: a text with any
// other character than a letter or a digit is refused whole.
class LettersAndDigits : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& text, int&) const override {
    return allowedPart(text) == text ? Acceptable : Invalid;
  }
};

}  // namespace

PassWordEdit::PassWordEdit(QWidget* parent) : QLineEdit(parent) {
  setEchoMode(QLineEdit::Password);
  setMaxLength(static_cast<int>(Password::kLength));
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setValidator(new LettersAndDigits(this));
}

// The keyboard's paste takes the letters and digits of the clipboard and
// leaves the rest; other keys reach the validator.
void PassWordEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    insert(allowedPart(QGuiApplication::clipboard()->text()));
    return;
  }
  QLineEdit::keyPressEvent(event);
}

// No menu: there is nothing to copy, and a paste goes through the keyboard.
void PassWordEdit::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
}

}  // namespace orvane::ui
