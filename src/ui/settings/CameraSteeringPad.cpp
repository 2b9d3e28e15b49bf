#include "ui/settings/CameraSteeringPad.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/Command.h"
#include "model/ParameterImage.h"
#include "ui/common/UiText.h"
#include "ui/pages/NumField.h"
#include "ui/pages/PageControls.h"
#include "ui/settings/CameraTexts.h"

namespace orvane::ui {

namespace {

using Button = CameraSteering::Button;

constexpr int kCrossButtonWidth = 64;
constexpr int kButtonHeight = 28;
constexpr int kFieldEditWidth = 40;  // three digits

// VISCA has no iris commands; its focus buttons are kept off as well, so
// that with VISCA only pan, tilt and zoom are steered.
bool steerable(Button which, CameraProtocol protocol) {
  const bool focus = which == Button::FocusFar || which == Button::FocusNear;
  if (protocol == CameraProtocol::SonyVisca && focus) return false;
  return CameraSteering::buttonMessages(which, protocol).has_value();
}

}  // namespace

CameraSteeringPad::CameraSteeringPad(ParameterImage& image, Command& command, QWidget* parent)
    : QWidget(parent), image_(image), command_(command) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  auto* top = new QHBoxLayout;
  top->addWidget(buildCross());
  top->addSpacing(12);
  top->addWidget(buildFields(), 1);
  column->addLayout(top);
  column->addWidget(buildLensButtons());
  showFields();
  setMaster(true);
}

QWidget* CameraSteeringPad::buildButtons(std::span<const Placed> placed, int spacing) {
  auto* part = new QWidget(this);
  auto* grid = new QGridLayout(part);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(spacing);
  for (const Placed& p : placed) grid->addWidget(makeButton(p.which, p.caption, part), p.row, p.column);
  return part;
}

// Up above, Down below, Left and Right beside an empty middle.
QWidget* CameraSteeringPad::buildCross() {
  static constexpr std::array<Placed, 4> kCross{{{Button::Up, CameraTexts::kUp, 0, 1},
                                                 {Button::Left, CameraTexts::kLeft, 1, 0},
                                                 {Button::Right, CameraTexts::kRight, 1, 2},
                                                 {Button::Down, CameraTexts::kDown, 2, 1}}};
  QWidget* cross = buildButtons(kCross, 2);
  for (const Placed& p : kCross) button(p.which)->setFixedWidth(kCrossButtonWidth);
  static_cast<QGridLayout*>(cross->layout())->setColumnMinimumWidth(1, kCrossButtonWidth);
  cross->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  return cross;
}

// In pairs: focus far / near, zoom in / out, iris open / close.
QWidget* CameraSteeringPad::buildLensButtons() {
  static constexpr std::array<Placed, 6> kLens{{
      {Button::FocusFar, CameraTexts::kFocusFar, 0, 0},
      {Button::FocusNear, CameraTexts::kFocusNear, 0, 1},
      {Button::ZoomTele, CameraTexts::kLargeMagnification, 1, 0},
      {Button::ZoomWide, CameraTexts::kSmallMagnification, 1, 1},
      {Button::IrisOpen, CameraTexts::kLargeAperture, 2, 0},
      {Button::IrisClose, CameraTexts::kSmallAperture, 2, 1},
  }};
  return buildButtons(kLens, 4);
}

QWidget* CameraSteeringPad::buildFields() {
  auto* part = new QWidget(this);
  auto* form = new QFormLayout(part);
  form->setContentsMargins(0, 0, 0, 0);
  form->setVerticalSpacing(4);
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  cameraId_ = makeField(part, &CameraSteering::setCameraId);
  speed_ = makeField(part, &CameraSteering::setSpeed);
  preset_ = makeField(part, &CameraSteering::setPreset);
  form->addRow(uiText(CameraTexts::kCameraId), cameraId_);
  form->addRow(uiText(CameraTexts::kSpeed), speed_);
  form->addRow(uiText(CameraTexts::kSteeringPreset), preset_);

  auto* buttons = new QHBoxLayout;
  save_ = new QPushButton(uiText(CameraTexts::kSave), part);
  load_ = new QPushButton(uiText(CameraTexts::kLoad), part);
  for (QPushButton* b : {save_, load_}) {
    b->setMinimumHeight(kButtonHeight);
    buttons->addWidget(b);
  }
  form->addRow(buttons);
  connect(save_, &QPushButton::clicked, this, &CameraSteeringPad::onSave);
  connect(load_, &QPushButton::clicked, this, &CameraSteeringPad::onLoad);
  return part;
}

// Pressing sends the button's command, releasing its stop; the protocol is
// the one in force at that moment.
QPushButton* CameraSteeringPad::makeButton(Button which, const BiText& caption, QWidget* parent) {
  auto* b = new QPushButton(uiText(caption), parent);
  b->setMinimumHeight(kButtonHeight);
  b->setAutoRepeat(false);
  buttons_[static_cast<std::size_t>(which)] = b;
  const auto send = [this, which](bool pressed) {
    const auto messages = CameraSteering::buttonMessages(which, protocol());
    if (messages) command_.SendPresetData(pressed ? messages->press : messages->release);
  };
  connect(b, &QPushButton::pressed, this, [send] { send(true); });
  connect(b, &QPushButton::released, this, [send] { send(false); });
  return b;
}

NumField* CameraSteeringPad::makeField(QWidget* parent, Patch patch) {
  NumField* field = PageControls::makeField(parent, {NumKind::Integer, 1.0, 0.0, 1, 1}, kFieldEditWidth);
  connect(field, &NumField::valueEdited, this, [this, patch](int value) { onSteeringEdited(patch, value); });
  return field;
}

CameraProtocol CameraSteeringPad::protocol() const {
  return image_.read([](const ImageData& d) {
    return CameraSteering::protocolOf(d.system.extended[ExtendedOffset::Protocol]);
  });
}

void CameraSteeringPad::showFields() {
  const CameraProtocol p = protocol();
  const CameraSteering::Ranges ranges = CameraSteering::ranges(p);
  const CameraSteering::Fields fields =
      image_.read([p](const ImageData& d) { return CameraSteering::fields(d.system.camera, p); });
  for (const auto& [field, range, value] :
       {std::tuple{cameraId_, ranges.cameraId, fields.cameraId},
        std::tuple{speed_, ranges.speed, fields.speed}, std::tuple{preset_, ranges.preset, fields.preset}}) {
    field->setRange(range.min, range.max);
    field->showValue(value);
  }
}

void CameraSteeringPad::enableButtons() {
  const CameraProtocol p = protocol();
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->setEnabled(master_ && steerable(static_cast<Button>(i), p));
}

void CameraSteeringPad::setMaster(bool master) {
  master_ = master;
  for (NumField* field : {cameraId_, speed_, preset_}) field->setEnabled(master);
  enableButtons();
  const auto [save, load] = image_.read(
      [](const ImageData& d) { return std::pair(d.status.cameraSaveEnabled, d.status.cameraLoadEnabled); });
  enablePresetButtons(master && save, master && load);
}

void CameraSteeringPad::reloadProtocol() {
  showFields();
  enableButtons();
  setFlags(false);
  enablePresetButtons(false, false);
}

// Only a patch that changed the table makes a preset worth saving or loading.
void CameraSteeringPad::onSteeringEdited(Patch patch, int value) {
  const CameraProtocol p = protocol();
  const bool changed = image_.modify([&](ImageData& d) { return patch(d.system.camera, p, value); });
  if (!changed) return;
  setFlags(true);
  enablePresetButtons(true, true);
}

// A press is used up whether or not a link carried it (nothing is sent
// without one): the buttons wait for the next change of the steering fields.
void CameraSteeringPad::onSave() {
  command_.SendPresetData(CameraSteering::kSetPreset);
  enablePresetButtons(false, false);
}

void CameraSteeringPad::onLoad() {
  command_.SendPresetData(CameraSteering::kGoToPreset);
  enablePresetButtons(false, false);
  setFlags(false);
}

void CameraSteeringPad::setFlags(bool on) {
  image_.modify([on](ImageData& d) {
    d.status.cameraSaveEnabled = on;
    d.status.cameraLoadEnabled = on;
  });
}

void CameraSteeringPad::enablePresetButtons(bool save, bool load) {
  save_->setEnabled(save);
  load_->setEnabled(load);
}

}  // namespace orvane::ui
