#include "ui/settings/ConversionGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "model/Choices.h"
#include "ui/common/UiText.h"
#include "ui/pages/NumField.h"
#include "ui/settings/HelpButton.h"
#include "ui/settings/SettingsTexts.h"
#include "ui/settings/SetupFields.h"
#include "ui/settings/SetupSession.h"

namespace orvane::ui {

namespace T = SettingsTexts;

ConversionGroup::ConversionGroup(SetupSession& session, QWidget* parent)
    : QGroupBox(uiText(T::kConversion), parent), session_(session) {
  const SetupSettings& s = session_.settings();
  auto* grid = new QGridLayout(this);
  deviceMode_ = new QComboBox(this);
  deviceMode_->setObjectName("deviceMode");
  PageControls::fill(deviceMode_, Choices::kDeviceMode, static_cast<int>(s.deviceMode()));
  output_ = new QComboBox(this);
  output_->setObjectName("outputSelection");
  zeroDbfs_ = SetupFields::make(this, Scales::kZeroDbfs);
  zeroDbfs_->setObjectName("zeroDbfs");
  zeroDbfs_->showValue(s.zeroDbfsDbu());
  help_ = new HelpButton(Dev_Set_Cap::Topic::Conversion, this);

  int row = 0;
  for (const auto& [caption, control] : {std::pair<const BiText&, QWidget*>{T::kDeviceMode, deviceMode_},
                                         std::pair<const BiText&, QWidget*>{T::kOutputSelection, output_},
                                         std::pair<const BiText&, QWidget*>{T::kZeroDbfs, zeroDbfs_}}) {
    grid->addWidget(new QLabel(uiText(caption), this), row, 0);
    grid->addWidget(control, row++, 1, Qt::AlignLeft);
  }
  grid->addWidget(help_, row, 1, Qt::AlignRight);
  showOutput();

  connect(deviceMode_, &QComboBox::activated, this, &ConversionGroup::onDeviceMode);
  connect(output_, &QComboBox::activated, this, &ConversionGroup::onOutput);
  connect(zeroDbfs_, &NumField::valueEdited, this,
          [this](int dbu) { session_.change([dbu](SetupSettings& s) { return s.setZeroDbfsDbu(dbu); }); });
}

void ConversionGroup::showOutput() {
  const SetupSettings& s = session_.settings();
  PageControls::fill(output_, Choices::kOutput, static_cast<int>(s.output()));
  output_->setEnabled(s.outputSelectable());
}

void ConversionGroup::onDeviceMode(int index) {
  const auto mode = static_cast<DeviceMode>(index);
  session_.change([mode](SetupSettings& s) { return s.setDeviceMode(mode); });
  showOutput();
  emit masterChanged(mode == DeviceMode::Master);
}

void ConversionGroup::onOutput(int index) {
  const auto output = static_cast<OutputSelection>(index);
  session_.change([output](SetupSettings& s) { return s.setOutput(output); });
  showOutput();
}

}  // namespace orvane::ui
