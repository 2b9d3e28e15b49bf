#pragma once

// The explanation window behind the help buttons of the settings dialogs:
// one topic in the current language, and a "Quit" button.

#include <QDialog>

class QLabel;

namespace orvane::ui {

class Dev_Set_Cap : public QDialog {
  Q_OBJECT

 public:
  enum class Topic { Conversion, Priority, Network, StartupProgram, OpticalDelay, Attenuation, Camera };
  static constexpr int kTopics = 7;

  Dev_Set_Cap(Topic topic, QWidget* parent = nullptr);

  // The topic's text in the current language.
  static QString text(Topic topic);
  QLabel* textLabel() const { return text_; }

 private:
  QLabel* text_;
};

}  // namespace orvane::ui
