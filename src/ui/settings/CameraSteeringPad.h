#pragma once

// Steering a camera from the settings dialog: the cross of pan and tilt
// buttons, the focus, zoom and iris buttons, the three steering fields
// (camera ID, speed, preset) that are patched into the camera command table,
// and "Save" / "Load" that store the camera's position as that preset or
// send the camera to it.
//
// A button sends one message when pressed and one when released, never a
// repeat while held. Sending goes through the link's queue; without a link
// nothing is sent, and "Save" / "Load" stay usable.

#include <QWidget>
#include <array>
#include <span>

#include "model/CameraSteering.h"
#include "model/Language.h"

class QPushButton;

namespace orvane {
class Command;
class ParameterImage;
}  // namespace orvane

namespace orvane::ui {

class NumField;

class CameraSteeringPad : public QWidget {
  Q_OBJECT

 public:
  using Button = CameraSteering::Button;
  static constexpr int kButtons = 10;

  CameraSteeringPad(ParameterImage& image, Command& command, QWidget* parent = nullptr);

  // Slave: every control disabled. Master: the fields and the buttons the
  // protocol can steer; "Save" and "Load" as their enable flags say.
  void setMaster(bool master);
  // After the protocol changed: the steering ranges and fields of the new
  // protocol, its buttons, and "Save" / "Load" off with their flags cleared.
  void reloadProtocol();

  QPushButton* button(Button which) const { return buttons_.at(static_cast<std::size_t>(which)); }
  NumField* cameraIdField() const { return cameraId_; }
  NumField* speedField() const { return speed_; }
  NumField* presetField() const { return preset_; }
  QPushButton* saveButton() const { return save_; }
  QPushButton* loadButton() const { return load_; }

 private:
  using Patch = bool (*)(CameraCommands&, CameraProtocol, int);
  // A steering button and its place on a grid.
  struct Placed {
    Button which;
    BiText caption;
    int row;
    int column;
  };

  QWidget* buildButtons(std::span<const Placed> placed, int spacing);
  QWidget* buildCross();
  QWidget* buildLensButtons();
  QWidget* buildFields();
  QPushButton* makeButton(Button which, const BiText& caption, QWidget* parent);
  NumField* makeField(QWidget* parent, Patch patch);
  CameraProtocol protocol() const;
  void showFields();
  void enableButtons();
  void onSteeringEdited(Patch patch, int value);
  void onSave();
  void onLoad();
  void setFlags(bool on);
  void enablePresetButtons(bool save, bool load);

  ParameterImage& image_;
  Command& command_;
  bool master_ = true;
  std::array<QPushButton*, kButtons> buttons_{};
  NumField* cameraId_ = nullptr;
  NumField* speed_ = nullptr;
  NumField* preset_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* load_ = nullptr;
};

}  // namespace orvane::ui
