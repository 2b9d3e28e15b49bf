#pragma once

// The message boxes every window shows through: information boxes with the
// caption of the current language, warnings with their own caption, and
// yes/no questions. Tests install a sink that takes the messages (and the
// questions, with the answer given with the sink) instead of showing them.

#include <QString>
#include <functional>

#include "model/Language.h"

class QWidget;

namespace orvane::ui {

class MessageBoxes {
 public:
  using Sink = std::function<void(const QString& caption, const QString& text)>;

  static void inform(QWidget* parent, const BiText& text);
  // An information whose text was filled in (a file name, a number).
  static void inform(QWidget* parent, const QString& text);
  static void warn(QWidget* parent, const BiText& caption, const QString& text);
  // True when the user answers yes; no is the default button.
  static bool ask(QWidget* parent, const QString& text);
  // While a sink is set, messages and questions go to it and no box is
  // shown; every question is answered with `answer`.
  static void setSink(Sink sink, bool answer = false);

 private:
  static void show(QWidget* parent, const QString& caption, const QString& text, bool warning);
};

}  // namespace orvane::ui
