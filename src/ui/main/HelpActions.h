#pragma once

// The help and about buttons of the tool bar: the help document of the model
// in the current language opens in the desktop's viewer (the user is told
// when there is none), and the about box names the product.

#include <QString>

#include "model/ProductVariant.h"

class QWidget;

namespace orvane::ui {

class HelpActions {
 public:
  // The help document of the model in the current language; empty when
  // none is found.
  static QString helpFile(const ProductVariant& variant);
  static void showHelp(QWidget* window, const ProductVariant& variant);
  static void showAbout(QWidget* window);
};

}  // namespace orvane::ui
