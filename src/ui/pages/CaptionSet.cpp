#include "ui/pages/CaptionSet.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

#include "ui/common/UiText.h"

namespace orvane::ui {

QLabel* CaptionSet::label(const BiText& text, QWidget* parent) {
  auto* caption = new QLabel(parent);
  add(caption, text);
  return caption;
}

void CaptionSet::add(QWidget* widget, const BiText& text) {
  captions_.push_back({widget, text});
}

void CaptionSet::addTab(QTabWidget* tabs, int index, const BiText& text) {
  captions_.push_back({tabs, text, index});
}

void CaptionSet::apply() const {
  for (const Caption& c : captions_) {
    if (!c.widget) continue;
    const QString text = uiText(c.text);
    if (auto* tabs = qobject_cast<QTabWidget*>(c.widget.data()); tabs && c.tab >= 0)
      tabs->setTabText(c.tab, text);
    else if (auto* label = qobject_cast<QLabel*>(c.widget.data()))
      label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(c.widget.data()))
      group->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(c.widget.data()))
      button->setText(text);
  }
}

}  // namespace orvane::ui
