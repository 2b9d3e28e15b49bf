#pragma once

// The message boxes every window shows through: information boxes with the
// caption of the current language, and warnings with their own caption.
// Tests install a sink that takes the messages instead of showing them.

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
  // While a sink is set, messages go to it and no box is shown.
  static void setSink(Sink sink);

 private:
  static void show(QWidget* parent, const QString& caption, const QString& text, bool warning);
};

}  // namespace orvane::ui
