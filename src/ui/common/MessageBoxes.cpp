#include "ui/common/MessageBoxes.h"

#include <QMessageBox>

#include "model/Texts.h"
#include "ui/common/UiText.h"

namespace orvane::ui {

namespace {
MessageBoxes::Sink& sink() {
  static MessageBoxes::Sink instance;
  return instance;
}
bool& sinkAnswer() {
  static bool answer = false;
  return answer;
}
}  // namespace

void MessageBoxes::setSink(Sink s, bool answer) {
  sink() = std::move(s);
  sinkAnswer() = answer;
}

void MessageBoxes::inform(QWidget* parent, const BiText& text) {
  inform(parent, uiText(text));
}

void MessageBoxes::inform(QWidget* parent, const QString& text) {
  show(parent, uiText(Texts::kInformation), text, false);
}

void MessageBoxes::warn(QWidget* parent, const BiText& caption, const QString& text) {
  show(parent, uiText(caption), text, true);
}

bool MessageBoxes::ask(QWidget* parent, const QString& text) {
  const QString caption = uiText(Texts::kInformation);
  if (sink()) {
    sink()(caption, text);
    return sinkAnswer();
  }
  return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
         QMessageBox::Yes;
}

void MessageBoxes::show(QWidget* parent, const QString& caption, const QString& text, bool warning) {
  if (sink()) {
    sink()(caption, text);
    return;
  }
  if (warning)
    QMessageBox::warning(parent, caption, text);
  else
    QMessageBox::information(parent, caption, text);
}

}  // namespace orvane::ui
