#pragma once

// A "Help" button of the settings dialogs: opens the explanation window on
// its topic.

#include <QPushButton>

#include "ui/settings/Dev_Set_Cap.h"

namespace orvane::ui {

class HelpButton : public QPushButton {
  Q_OBJECT

 public:
  HelpButton(Dev_Set_Cap::Topic topic, QWidget* parent);

  Dev_Set_Cap::Topic topic() const { return topic_; }

 signals:
  // The explanation window is about to open (tests answer it).
  void helpOpened(Dev_Set_Cap* window);

 private:
  Dev_Set_Cap::Topic topic_;
};

}  // namespace orvane::ui
