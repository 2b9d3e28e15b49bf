#pragma once

// The area of the main window that holds the response graph of the channel
// being edited, under its title.

#include <QFrame>

#include "ui/main/WindowPart.h"

class QLabel;

namespace orvane::ui {

class GraphArea : public QFrame, public WindowPart {
  Q_OBJECT

 public:
  explicit GraphArea(QWidget* parent = nullptr);

  void applyLanguage() override;

 private:
  QLabel* title_ = nullptr;
};

}  // namespace orvane::ui
