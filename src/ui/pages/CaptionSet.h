#pragma once

// The captions of a page and the texts they show, so that switching the
// language re-texts every label, group box title, button and tab at once.

#include <QPointer>
#include <QWidget>
#include <vector>

#include "model/Language.h"

class QLabel;
class QTabWidget;

namespace orvane::ui {

class CaptionSet {
 public:
  // A new label showing `text`.
  QLabel* label(const BiText& text, QWidget* parent);
  // A label, a group box or a button whose own text is `text`.
  void add(QWidget* widget, const BiText& text);
  void addTab(QTabWidget* tabs, int index, const BiText& text);
  // Shows every caption in the current language.
  void apply() const;

 private:
  struct Caption {
    QPointer<QWidget> widget;
    BiText text;
    int tab = -1;
  };
  std::vector<Caption> captions_;
};

}  // namespace orvane::ui
