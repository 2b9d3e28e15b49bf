#include "ui/main/ChannelStrip.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QValidator>

#include "model/NameField.h"
#include "model/Scales.h"
#include "model/Texts.h"
#include "ui/common/UiText.h"
#include "ui/main/MainTexts.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/ConsoleLook.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/SLamp.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

constexpr int kFieldWidth = 70;       // fields of an output column
constexpr int kInputFieldWidth = 96;  // fields of an input row
// Faders long enough to set a gain to a tenth of a decibel with the mouse.
constexpr int kInputFaderLength = 140;
constexpr int kInputFaderThickness = 34;
constexpr int kOutputFaderLength = 104;

// Refuses any text whose GBK form would not fit a name field.
class NameValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return NameField::FieldBytes(input.toStdString()) <= kNameBytes ? Acceptable : Invalid;
  }
};

QString channelLabel(Side side, int channel) {
  return side == Side::Input ? QString(QChar('A' + channel)) : QString::number(channel + 1);
}

}  // namespace

// --- NameEdit -----------------------------------------------------------------

NameEdit::NameEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new NameValidator(this));
  connect(this, &QLineEdit::editingFinished, this, [this] {
    if (locked_ || !isModified()) return;
    setModified(false);
    emit nameEdited(text());
  });
}

void NameEdit::showName(const QString& name) {
  if (locked_) return;
  setText(name);
  setModified(false);
}

void NameEdit::setLocked(bool locked, const QString& lockText) {
  locked_ = locked;
  QFont f = font();
  f.setItalic(locked);
  setFont(f);
  if (locked) {
    // The lock word is no name: the validator must not judge it, and it is
    // never written back.
    setValidator(nullptr);
    setText(lockText);
    setModified(false);
  } else if (!validator()) {
    setValidator(new NameValidator(this));
  }
  setEnabled(!locked);
}

// --- ChannelStrip ---------------------------------------------------------------

ChannelStrip::ChannelStrip(Side side, int channel, QWidget* parent)
    : QFrame(parent), side_(side), channel_(channel) {
  const QString prefix = side == Side::Input ? QStringLiteral("input") : QStringLiteral("output");
  setObjectName(QStringLiteral("%1Strip%2").arg(prefix).arg(channel));

  select_ = new ToggleButton(channelLabel(side, channel), this);
  select_->setObjectName("select");
  select_->setOnColor(QColor(ConsoleLook::kHighlight));
  mute_ = new ToggleButton(this);
  mute_->setObjectName("mute");
  mute_->setOnColor(QColor(ConsoleLook::kOnGreen));
  curve_ = new ToggleButton(this);
  curve_->setObjectName("curve");
  curve_->setOnColor(QColor(ConsoleLook::kOnAmber));
  fader_ = new Fader(this);
  fader_->setObjectName("fader");
  fader_->setRange(Scales::kChannelGain.minimum, Scales::kChannelGain.maximum);
  fader_->setMarkValue(Scales::kChannelGain.unityCode());
  fader_->setTickInterval(60);
  fader_->setPageStep(10);
  gain_ = new NumField(this);
  gain_->setObjectName("gain");
  gain_->setScale(Scales::kChannelGain, QStringLiteral("dB"));
  gain_->edit()->setFixedWidth(kFieldWidth - 16);
  link_ = new QComboBox(this);
  link_->setObjectName("link");
  link_->setFixedWidth(kFieldWidth);
  name_ = new NameEdit(this);
  name_->setObjectName("name");
  name_->setFixedWidth(kFieldWidth);

  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(4, 3, 4, 3);
  grid_->setHorizontalSpacing(4);
  grid_->setVerticalSpacing(2);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(3);
  buttons->addWidget(mute_);
  buttons->addWidget(curve_);
  if (side == Side::Input) {
    // A row: select and meter, a horizontal fader, then two lines of fields.
    select_->setFixedWidth(24);
    fader_->setOrientation(Qt::Horizontal);
    fader_->setMinimumWidth(kInputFaderLength);
    fader_->setFixedHeight(kInputFaderThickness);
    for (QWidget* field : std::initializer_list<QWidget*>{link_, name_})
      field->setFixedWidth(kInputFieldWidth);
    gain_->edit()->setFixedWidth(kInputFieldWidth - 16);
    grid_->addWidget(select_, 0, 0, 2, 1);
    grid_->addWidget(fader_, 0, 2, 2, 1, Qt::AlignVCenter);
    grid_->addWidget(name_, 0, 3);
    grid_->addWidget(link_, 0, 4);
    grid_->addLayout(buttons, 1, 3);
    grid_->addWidget(gain_, 1, 4);
    grid_->setColumnStretch(2, 1);
  } else {
    // A column: fields on top, fader and meter below.
    auto* top = new QHBoxLayout;
    top->setSpacing(3);
    select_->setFixedWidth(24);
    top->addWidget(select_);
    top->addWidget(name_);
    grid_->addLayout(top, 0, 0, 1, 2);
    grid_->addWidget(link_, 1, 0, 1, 2, Qt::AlignRight);
    grid_->addLayout(buttons, 2, 0, 1, 2);
    grid_->addWidget(gain_, 3, 0, 1, 2, Qt::AlignRight);
    fader_->setMinimumHeight(kOutputFaderLength);
    grid_->addWidget(fader_, 4, 0, Qt::AlignRight);
    grid_->setRowStretch(4, 1);
  }

  connect(select_, &ToggleButton::clicked, this, [this] {
    // The button shows the selection, which the window decides.
    select_->setChecked(selected_);
    emit selectClicked();
  });
  connect(mute_, &ToggleButton::clicked, this, &ChannelStrip::muteClicked);
  connect(curve_, &ToggleButton::clicked, this, &ChannelStrip::curveClicked);
  connect(fader_, &Fader::valueChanged, this, &ChannelStrip::userGain);
  connect(gain_, &NumField::valueEdited, this, &ChannelStrip::userGain);
  connect(gain_, &NumField::valueHeld, this, &ChannelStrip::userGain);
  connect(link_, &QComboBox::activated, this, [this](int group) {
    if (!linkLocked_) emit linkGroupChosen(group);
  });
  connect(name_, &NameEdit::nameEdited, this, &ChannelStrip::nameEdited);
  applyLanguage();
}

void ChannelStrip::placeMeter(SLamp* meter) {
  meter->setParent(this);
  if (side_ == Side::Input)
    grid_->addWidget(meter, 0, 1, 2, 1);
  else
    grid_->addWidget(meter, 4, 1, Qt::AlignLeft);
}

void ChannelStrip::userGain(int gain) {
  fader_->setValue(gain);
  gain_->setValue(gain);
  emit gainEdited(gain);
}

void ChannelStrip::showGain(int gain) {
  fader_->setValue(gain);
  gain_->showValue(gain);
}

void ChannelStrip::showMute(bool sounding) {
  mute_->setChecked(sounding);
}

void ChannelStrip::showCurve(bool visible) {
  curve_->setChecked(visible);
}

void ChannelStrip::showLinkGroup(int group) {
  linkGroup_ = group;
  if (!linkLocked_) link_->setCurrentIndex(group);
}

void ChannelStrip::showName(const QString& name) {
  name_->showName(name);
}

void ChannelStrip::setSelected(bool selected) {
  selected_ = selected;
  select_->setChecked(selected);
  mute_->setHighlighted(selected);
  curve_->setHighlighted(selected);
  fader_->setHighlighted(selected);
  update();
}

void ChannelStrip::lockName(bool locked) {
  name_->setLocked(locked, uiText(MainTexts::kLocked));
}

void ChannelStrip::lockMute(bool locked) {
  mute_->setEnabled(!locked);
}

void ChannelStrip::lockGain(bool locked) {
  fader_->setLocked(locked);
  fader_->setEnabled(!locked);
  gain_->setLocked(locked);
}

void ChannelStrip::lockLinkGroup(bool locked) {
  linkLocked_ = locked;
  fillLinkList();
  link_->setEnabled(!locked);
}

void ChannelStrip::fillLinkList() {
  link_->clear();
  if (linkLocked_) {
    link_->addItem(uiText(MainTexts::kLocked));
    return;
  }
  for (std::string_view text : Texts::CurrentList(Texts::LinkGroupList(side_)))
    link_->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  link_->setCurrentIndex(linkGroup_);
}

void ChannelStrip::applyLanguage() {
  mute_->setText(uiText(MainTexts::kMute));
  curve_->setText(uiText(MainTexts::kCurve));
  fillLinkList();
  if (name_->isLocked()) name_->setLocked(true, uiText(MainTexts::kLocked));
  gain_->edit()->refresh();
}

void ChannelStrip::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(
      QPen(QColor(selected_ ? ConsoleLook::kHighlight : ConsoleLook::kButtonFace), selected_ ? 2 : 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
}

}  // namespace orvane::ui
