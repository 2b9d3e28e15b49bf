#pragma once

// The camera section of the device settings dialog: the camera settings of
// the extended set-up block (presets and camera addresses per input and for
// the panoramic position, response and release times, protocol), each change
// stored in the image and sent to the device at once, and the steering pad
// for the camera itself. Built in the language in force when the dialog
// opens.

#include <QGroupBox>

class QComboBox;

namespace orvane {
class Command;
class ParameterImage;
}  // namespace orvane

namespace orvane::ui {

class CameraPresetTable;
class CameraSteeringPad;
class NumField;

class CameraGroup : public QGroupBox {
  Q_OBJECT

 public:
  CameraGroup(ParameterImage& image, Command& command, QWidget* parent = nullptr);

  // Master mode enables the camera controls; slave disables every one of them.
  // In master mode "Save"/"Load" follow the image's two enable flags, and with
  // VISCA the focus and iris buttons stay disabled.
  void setMaster(bool master);

  CameraPresetTable* presetTable() const { return table_; }
  NumField* responseField() const { return response_; }
  NumField* releaseField() const { return release_; }
  QComboBox* protocolList() const { return protocol_; }
  CameraSteeringPad* steeringPad() const { return pad_; }

 private:
  QWidget* buildTimes();
  NumField* makeTimeField(QWidget* parent, double offset, int maximum, int blockOffset);
  void showSettings();
  void storeByte(int offset, int value);
  void onProtocolChosen(int index);

  ParameterImage& image_;
  Command& command_;
  CameraPresetTable* table_ = nullptr;
  NumField* response_ = nullptr;
  NumField* release_ = nullptr;
  QComboBox* protocol_ = nullptr;
  CameraSteeringPad* pad_ = nullptr;
};

}  // namespace orvane::ui
