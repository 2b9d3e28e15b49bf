#include "WheelGuard.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>

namespace orvane::ui {

bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
  auto* list = qobject_cast<QComboBox*>(watched);
  if (!list || list->hasFocus() || list->view()->isVisible()) return QObject::eventFilter(watched, event);
  // Eaten: the list neither changes nor takes the focus.
  event->ignore();
  return true;
}

}  // namespace orvane::ui
