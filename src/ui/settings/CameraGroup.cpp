#include "ui/settings/CameraGroup.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "link/Command.h"
#include "model/ParameterImage.h"
#include "ui/common/UiText.h"
#include "ui/pages/NumField.h"
#include "ui/pages/PageControls.h"
#include "ui/settings/CameraPresetTable.h"
#include "ui/settings/CameraSteeringPad.h"
#include "ui/settings/CameraTexts.h"
#include "ui/settings/HelpButton.h"

namespace orvane::ui {

namespace {

// Response time in tenths of a second, 0.0s..3.0s; release time shown one
// second longer than its tenths, 1.0s..11.0s.
constexpr int kMaxResponse = 30;
constexpr int kMaxRelease = 100;
constexpr double kTenth = 0.1;
constexpr double kReleaseOffset = -1.0;
constexpr int kTimeEditWidth = 48;  // "11.0s"

bool isMasterMode(const ImageData& d) {
  return (d.system.setup[SetupOffset::ModeBits] & 1) != 0;
}

}  // namespace

CameraGroup::CameraGroup(ParameterImage& image, Command& command, QWidget* parent)
    : QGroupBox(uiText(CameraTexts::kTitle), parent), image_(image), command_(command) {
  setObjectName("cameraSettings");
  auto* column = new QVBoxLayout(this);
  auto* settings = new QHBoxLayout;
  table_ = new CameraPresetTable(this);
  settings->addWidget(table_, 0, Qt::AlignTop);
  settings->addSpacing(12);
  settings->addWidget(buildTimes(), 1, Qt::AlignTop);
  column->addLayout(settings);
  column->addSpacing(8);
  pad_ = new CameraSteeringPad(image_, command_, this);
  column->addWidget(pad_);
  column->addStretch(1);
  connect(table_, &CameraPresetTable::byteEdited, this, &CameraGroup::storeByte);
  showSettings();
  setMaster(image_.read(isMasterMode));
}

// Each caption above its control.
QWidget* CameraGroup::buildTimes() {
  auto* part = new QWidget(this);
  auto* column = new QVBoxLayout(part);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  response_ = makeTimeField(part, 0.0, kMaxResponse, ExtendedOffset::ResponseTime);
  release_ = makeTimeField(part, kReleaseOffset, kMaxRelease, ExtendedOffset::ReleaseTime);
  protocol_ = new QComboBox(part);
  PageControls::fill(protocol_, CameraTexts::kProtocols, 0);
  connect(protocol_, &QComboBox::activated, this, &CameraGroup::onProtocolChosen);
  for (const auto& [caption, control] : {std::pair<BiText, QWidget*>{CameraTexts::kResponse, response_},
                                         std::pair<BiText, QWidget*>{CameraTexts::kRelease, release_},
                                         std::pair<BiText, QWidget*>{CameraTexts::kProtocol, protocol_}}) {
    column->addWidget(new QLabel(uiText(caption), part));
    column->addWidget(control, 0, Qt::AlignLeft);
    column->addSpacing(6);
  }
  column->addWidget(new HelpButton(Dev_Set_Cap::Topic::Camera, part), 0, Qt::AlignLeft);
  return part;
}

NumField* CameraGroup::makeTimeField(QWidget* parent, double offset, int maximum, int blockOffset) {
  NumField* field =
      PageControls::makeField(parent, {NumKind::Level, kTenth, offset, 0, maximum}, kTimeEditWidth);
  field->setDisplayKind(NumKind::Level, QStringLiteral("s"));
  connect(field, &NumField::valueEdited, this, [this, blockOffset](int value) {
    image_.modify([&](ImageData& d) { d.system.setExtendedWord(blockOffset, value); });
    command_.SendSystemItem53();
  });
  return field;
}

void CameraGroup::showSettings() {
  const auto [block, response, release] = image_.read([](const ImageData& d) {
    return std::tuple(d.system.extended, d.system.extendedWord(ExtendedOffset::ResponseTime),
                      d.system.extendedWord(ExtendedOffset::ReleaseTime));
  });
  table_->showBlock(block);
  response_->showValue(response);
  release_->showValue(release);
  const CameraProtocol protocol = CameraSteering::protocolOf(block[ExtendedOffset::Protocol]);
  PageControls::select(protocol_, static_cast<int>(protocol));
}

void CameraGroup::storeByte(int offset, int value) {
  image_.modify([&](ImageData& d) {
    d.system.extended[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
  });
  command_.SendSystemItem53();
}

// Choosing the protocol in force again changes nothing. A new one is sent
// at once; the steering part then works on the new protocol's table.
void CameraGroup::onProtocolChosen(int index) {
  const int stored =
      image_.read([](const ImageData& d) { return int{d.system.extended[ExtendedOffset::Protocol]}; });
  if (stored == index) return;
  storeByte(ExtendedOffset::Protocol, index);
  pad_->reloadProtocol();
}

void CameraGroup::setMaster(bool master) {
  for (QWidget* control : std::initializer_list<QWidget*>{table_, response_, release_, protocol_})
    control->setEnabled(master);
  pad_->setMaster(master);
}

}  // namespace orvane::ui
