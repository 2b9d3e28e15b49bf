#include "ui/main/QtNotifier.h"

#include <QMetaObject>

namespace orvane::ui {

QtNotifier::QtNotifier(QObject* parent) : QObject(parent) {}

template <class F>
void QtNotifier::later(F&& f) {
  QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::QueuedConnection);
}

void QtNotifier::post(Message message, std::intptr_t wParam, std::intptr_t lParam) {
  if (message == Message::LevelsRead) {
    if (levelsPending_.exchange(true)) return;
    later([this, wParam, lParam] {
      levelsPending_ = false;
      emit posted(static_cast<int>(Message::LevelsRead), wParam, lParam);
    });
    return;
  }
  later([this, message, wParam, lParam] { emit posted(static_cast<int>(message), wParam, lParam); });
}

void QtNotifier::setProgressRange(int lower, int upper) {
  later([this, lower, upper] { emit progressRangeChanged(lower, upper); });
}

void QtNotifier::setProgress(int position) {
  later([this, position] { emit progressChanged(position); });
}

void QtNotifier::setIdSearchProgress(int position) {
  later([this, position] { emit idSearchProgressChanged(position); });
}

void QtNotifier::setTransferInProgress(bool inProgress) {
  later([this, inProgress] { emit transferStateChanged(inProgress); });
}

void QtNotifier::idSearchEnded() {
  later([this] { emit idSearchStopped(); });
}

void QtNotifier::portWarning(const std::string& text) {
  later([this, text = QString::fromStdString(text)] { emit warning(text); });
}

}  // namespace orvane::ui
