#pragma once

// The network group of the settings dialogs: renames the device's WiFi
// network (item 51) and, where the model offers it, returns the network
// module to its factory settings (item 49). Their outcome arrives later,
// as the device's acknowledgement or the loss of the link, and the main
// window tells it. Without a link the buttons do nothing.

#include <QGroupBox>

namespace orvane {
class Command;
class ParameterImage;
}  // namespace orvane

class QPushButton;

namespace orvane::ui {

class EnglishEdit;
class HelpButton;

class NetworkGroup : public QGroupBox {
  Q_OBJECT

 public:
  NetworkGroup(ParameterImage& image, Command& command, bool factoryReset, QWidget* parent);

  EnglishEdit* nameField() const { return name_; }
  QPushButton* renameButton() const { return rename_; }
  // Null where the model offers no factory reset.
  QPushButton* resetButton() const { return reset_; }
  HelpButton* helpButton() const { return help_; }

 private:
  bool linkOpen() const;
  void onRename();
  void onReset();

  ParameterImage& image_;
  Command& command_;
  EnglishEdit* name_;
  QPushButton* rename_;
  QPushButton* reset_ = nullptr;
  HelpButton* help_;
};

}  // namespace orvane::ui
