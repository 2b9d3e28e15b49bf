#pragma once

// Keeps the mouse wheel off drop lists the user is not working in. A drop
// list that writes device data must not change because the pointer passed
// over it while the user scrolled the window: installed on the application,
// the guard lets the wheel reach a drop list only while it has the keyboard
// focus or its list is open, for every drop list of every window.

#include <QObject>

namespace orvane::ui {

class WheelGuard : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace orvane::ui
