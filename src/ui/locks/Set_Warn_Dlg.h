#pragma once

// The small warning window shown instead of a dialog whose function is
// locked (the settings, the device ID).

#include <QDialog>

namespace orvane::ui {

class Set_Warn_Dlg : public QDialog {
  Q_OBJECT

 public:
  enum class Topic { Setting, Device };

  Set_Warn_Dlg(QWidget* parent, Topic topic);

  static QString text(Topic topic);
};

}  // namespace orvane::ui
