#pragma once

// The camera preset table of the camera settings: for each input IN A … IN H
// and for the panoramic position (when nobody speaks) the preset the camera
// goes to and the address of the camera that does it. The rows hold the
// bytes of the extended set-up block: presets at 0..8, addresses at 9..17.

#include <QWidget>
#include <array>
#include <cstdint>
#include <span>

namespace orvane::ui {

class NumField;

class CameraPresetTable : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRows = 9;  // IN A .. IN H, then the panoramic position

  explicit CameraPresetTable(QWidget* parent = nullptr);

  NumField* presetField(int row) const { return presets_.at(static_cast<std::size_t>(row)); }
  NumField* cameraIdField(int row) const { return cameraIds_.at(static_cast<std::size_t>(row)); }

  // Shows the presets and addresses of `extended`, each limited to its range;
  // nothing is written back.
  void showBlock(std::span<const std::uint8_t> extended);

 signals:
  // The user changed the byte at `offset` of the extended set-up block.
  void byteEdited(int offset, int value);

 private:
  NumField* addField(int row, int column, int offset, int maximum);

  std::array<NumField*, kRows> presets_{};
  std::array<NumField*, kRows> cameraIds_{};
};

}  // namespace orvane::ui
