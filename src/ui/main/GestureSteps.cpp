#include "ui/main/GestureSteps.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace orvane::ui {

namespace {

// A modifier alone is no gesture; it only shapes the key or drag it goes
// with.
bool isModifier(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return true;
    default:
      return false;
  }
}

int loopLevel() {
  return QThread::currentThread()->loopLevel();
}

}  // namespace

GestureSteps::GestureSteps(editor::EditHistory& history, QWidget* console, QWidget* window)
    : history_(history), console_(console), window_(window) {
  qApp->installEventFilter(this);
}

GestureSteps::~GestureSteps() {
  qApp->removeEventFilter(this);
}

void GestureSteps::outside(const std::function<void()>& action) {
  if (open_) close();
  action();
  if (held()) open();
}

bool GestureSteps::inConsole(QObject* watched) const {
  for (auto* widget = qobject_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
    if (widget == console_) return true;
    if (widget->isWindow() && widget->windowType() != Qt::Popup) return false;
  }
  return false;
}

// An event reaches the filter once for every widget it is offered to, so
// each case only sets what holds, whatever the count.
bool GestureSteps::eventFilter(QObject* watched, QEvent* event) {
  if (awaitingReturn_ && loopLevel() <= openedAt_) {
    awaitingReturn_ = false;
    closeSoon();
  }
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (inConsole(watched)) {
        mouseHeld_ = true;
        open();
      }
      break;
    case QEvent::MouseButtonRelease:
      // Wherever the release lands: a drop list's popup takes it.
      mouseHeld_ = static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
      closeSoon();
      break;
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (!isModifier(key) && inConsole(watched)) {
        keysHeld_.insert(key);
        open();
      }
      break;
    }
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat() && keysHeld_.remove(key->key())) closeSoon();
      break;
    }
    case QEvent::Wheel:
      if (inConsole(watched)) {
        open();
        closeSoon();
      }
      break;
    case QEvent::WindowDeactivate:
      // The releases of what was held go elsewhere now.
      if (watched == window_) {
        mouseHeld_ = false;
        keysHeld_.clear();
        closeSoon();
      }
      break;
    default:
      break;
  }
  return false;
}

void GestureSteps::open() {
  if (open_) return;
  open_ = true;
  openedAt_ = loopLevel();
  history_.begin();
}

// Posted, so the widget the event goes to has handled it when the step
// closes.
void GestureSteps::closeSoon() {
  if (!open_ || closePosted_) return;
  closePosted_ = true;
  QTimer::singleShot(0, this, &GestureSteps::closeIfDone);
}

// Inside a dialog's loop that a handler of the gesture runs, the gesture
// goes on: it closes with the first event after the handler returned.
void GestureSteps::closeIfDone() {
  closePosted_ = false;
  if (!open_ || held()) return;
  if (loopLevel() > openedAt_) {
    awaitingReturn_ = true;
    return;
  }
  close();
}

void GestureSteps::close() {
  emit closing();
  open_ = false;
  awaitingReturn_ = false;
  history_.end();
  emit closed();
}

}  // namespace orvane::ui
