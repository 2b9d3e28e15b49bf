#include "ui/settings/PriorityGroup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "model/Choices.h"
#include "ui/common/UiText.h"
#include "ui/pages/NumField.h"
#include "ui/settings/AttenuationGrid.h"
#include "ui/settings/HelpButton.h"
#include "ui/settings/SettingsTexts.h"
#include "ui/settings/SetupFields.h"
#include "ui/settings/SetupSession.h"

namespace orvane::ui {

namespace T = SettingsTexts;

namespace {

QLabel* captionLabel(const BiText& text, QWidget* parent) {
  // Static texts show "&&" as one ampersand.
  return new QLabel(uiText(text).replace(QStringLiteral("&&"), QStringLiteral("&")), parent);
}

}  // namespace

PriorityGroup::PriorityGroup(SetupSession& session, bool cameraCaption, QWidget* parent)
    : QGroupBox(uiText(T::kPriority), parent), session_(session) {
  auto* column = new QVBoxLayout(this);
  auto* modeRow = new QHBoxLayout;
  modeRow->addWidget(captionLabel(T::kModeSelection, this));
  operatingMode_ = new QComboBox(this);
  operatingMode_->setObjectName("operatingMode");
  PageControls::fill(operatingMode_, Choices::kOperatingMode,
                     static_cast<int>(session_.settings().operatingMode()));
  modeRow->addWidget(operatingMode_, 1);
  priorityHelp_ = new HelpButton(Dev_Set_Cap::Topic::Priority, this);
  modeRow->addWidget(priorityHelp_);
  column->addLayout(modeRow);
  column->addWidget(buildInputRows(cameraCaption));

  auto* channelsRow = new QHBoxLayout;
  channelsRow->addWidget(captionLabel(T::kSimultaneous, this));
  simultaneous_ = new QComboBox(this);
  simultaneous_->setObjectName("simultaneousChannels");
  for (int channels = 1; channels <= SetupSettings::kSimultaneousChannels.max + 1; ++channels)
    simultaneous_->addItem(QString::number(channels));
  channelsRow->addWidget(simultaneous_);
  channelsRow->addStretch(1);
  column->addLayout(channelsRow);

  attenuations_ = new AttenuationGrid(session_, this);
  column->addWidget(attenuations_);
  attenuationHelp_ = new HelpButton(Dev_Set_Cap::Topic::Attenuation, this);
  column->addWidget(attenuationHelp_, 0, Qt::AlignRight);
  showModeSet();

  connect(operatingMode_, &QComboBox::activated, this, [this](int index) {
    const auto mode = static_cast<OperatingMode>(index);
    session_.change([mode](SetupSettings& s) { return s.setOperatingMode(mode); });
    showModeSet();
  });
  connect(simultaneous_, &QComboBox::activated, this, [this](int index) {
    session_.change([index](SetupSettings& s) { return s.setSimultaneousChannels(index); });
  });
}

QWidget* PriorityGroup::buildInputRows(bool cameraCaption) {
  auto* rows = new QWidget(this);
  auto* grid = new QGridLayout(rows);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);
  if (cameraCaption) grid->addWidget(captionLabel(T::kCameraAndPriority, rows), 0, 0);
  grid->addWidget(captionLabel(T::kLevel, rows), 0, 1, Qt::AlignCenter);
  grid->addWidget(captionLabel(T::kThreshold, rows), 0, 2, Qt::AlignCenter);
  for (int input = 0; input < kInputs; ++input) {
    const auto i = static_cast<std::size_t>(input);
    grid->addWidget(new QLabel(QStringLiteral("IN %1").arg(QChar('A' + input)), rows), input + 1, 0);
    levels_[i] = new QComboBox(rows);
    levels_[i]->setObjectName(QStringLiteral("level%1").arg(input));
    PageControls::fill(levels_[i], Choices::kPriority, 0);
    grid->addWidget(levels_[i], input + 1, 1);
    thresholds_[i] = SetupFields::make(rows, Scales::kThreshold);
    thresholds_[i]->setObjectName(QStringLiteral("threshold%1").arg(input));
    grid->addWidget(thresholds_[i], input + 1, 2);

    connect(levels_[i], &QComboBox::activated, this, [this, input](int index) {
      const auto level = static_cast<PriorityLevel>(index);
      session_.change([input, level](SetupSettings& s) { return s.setPriority(input, level); });
    });
    connect(thresholds_[i], &NumField::valueEdited, this, [this, input](int code) {
      session_.change([input, code](SetupSettings& s) { return s.setThreshold(input, code); });
    });
  }
  return rows;
}

void PriorityGroup::showModeSet() {
  const SetupSettings& s = session_.settings();
  for (int input = 0; input < kInputs; ++input) {
    const auto i = static_cast<std::size_t>(input);
    PageControls::select(levels_[i], static_cast<int>(s.priority(input)));
    thresholds_[i]->showValue(s.threshold(input));
  }
  PageControls::select(simultaneous_, s.simultaneousChannels());
}

}  // namespace orvane::ui
