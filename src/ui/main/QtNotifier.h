#pragma once

// The core reports through Notifier from its worker and transport threads;
// this turns every report into a queued signal on the user-interface thread,
// so no core thread ever waits for a window.

#include <QObject>
#include <atomic>

#include "platform/Notifier.h"

namespace orvane::ui {

class QtNotifier : public QObject, public Notifier {
  Q_OBJECT

 public:
  explicit QtNotifier(QObject* parent = nullptr);

  void post(Message message, std::intptr_t wParam, std::intptr_t lParam) override;
  void setProgressRange(int lower, int upper) override;
  void setProgress(int position) override;
  void setIdSearchProgress(int position) override;
  void setTransferInProgress(bool inProgress) override;
  void idSearchEnded() override;
  void portWarning(const std::string& text) override;

 signals:
  void posted(int message, qintptr wParam, qintptr lParam);
  void progressRangeChanged(int lower, int upper);
  void progressChanged(int position);
  void idSearchProgressChanged(int position);
  void transferStateChanged(bool inProgress);
  void idSearchStopped();
  void warning(const QString& text);

 private:
  template <class F>
  void later(F&& f);

  // A level message already waits for the user-interface thread: the
  // meters read the newest levels from the image when it runs, so a second
  // one would only repeat it.
  std::atomic<bool> levelsPending_{false};
};

}  // namespace orvane::ui
