#include "ui/settings/CameraPresetTable.h"

#include <QGridLayout>
#include <QLabel>

#include "model/SystemAreas.h"
#include "ui/common/UiText.h"
#include "ui/pages/NumField.h"
#include "ui/pages/PageControls.h"
#include "ui/settings/CameraTexts.h"

namespace orvane::ui {

namespace {

constexpr int kPanoramicRow = CameraPresetTable::kRows - 1;
constexpr int kMaxPreset = 128;
constexpr int kMaxCameraId = 255;
constexpr int kEditWidth = 40;  // three digits

QString rowCaption(int row) {
  if (row == kPanoramicRow) return uiText(CameraTexts::kPanoramic);
  return QStringLiteral("IN %1").arg(QChar('A' + row));
}

}  // namespace

// The panoramic preset and address follow IN H directly in the block, so
// row r of either column is the byte at its column's offset + r.
CameraPresetTable::CameraPresetTable(QWidget* parent) : QWidget(parent) {
  static_assert(ExtendedOffset::PanoramicPreset == ExtendedOffset::Presets + kPanoramicRow);
  static_assert(ExtendedOffset::PanoramicCameraId == ExtendedOffset::CameraIds + kPanoramicRow);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(2);
  grid->addWidget(new QLabel(uiText(CameraTexts::kPreset), this), 0, 1, Qt::AlignCenter);
  grid->addWidget(new QLabel(uiText(CameraTexts::kCameraIpId), this), 0, 2, Qt::AlignCenter);
  for (int row = 0; row < kRows; ++row) {
    grid->addWidget(new QLabel(rowCaption(row), this), row + 1, 0);
    const auto at = static_cast<std::size_t>(row);
    presets_[at] = addField(row + 1, 1, ExtendedOffset::Presets + row, kMaxPreset);
    cameraIds_[at] = addField(row + 1, 2, ExtendedOffset::CameraIds + row, kMaxCameraId);
  }
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

NumField* CameraPresetTable::addField(int row, int column, int offset, int maximum) {
  NumField* field = PageControls::makeField(this, {NumKind::Integer, 1.0, 0.0, 1, maximum}, kEditWidth);
  static_cast<QGridLayout*>(layout())->addWidget(field, row, column, Qt::AlignCenter);
  connect(field, &NumField::valueEdited, this, [this, offset](int value) { emit byteEdited(offset, value); });
  return field;
}

void CameraPresetTable::showBlock(std::span<const std::uint8_t> extended) {
  for (int row = 0; row < kRows; ++row) {
    const auto at = static_cast<std::size_t>(row);
    presets_[at]->showValue(extended[static_cast<std::size_t>(ExtendedOffset::Presets + row)]);
    cameraIds_[at]->showValue(extended[static_cast<std::size_t>(ExtendedOffset::CameraIds + row)]);
  }
}

}  // namespace orvane::ui
