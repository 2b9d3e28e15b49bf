#include "ui/main/StripBank.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <algorithm>

#include "model/NameField.h"
#include "ui/common/UiText.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/MainTexts.h"
#include "ui/widgets/SLamp.h"

namespace orvane::ui {

namespace {

// The function locks that concern the strips of one side.
struct StripLocks {
  int name, mute, gain, link;
};

StripLocks stripLocks(Side side) {
  if (side == Side::Input)
    return {LockFlag::InputLabel, LockFlag::InputMute, LockFlag::InputGain, LockFlag::InputLink};
  return {LockFlag::OutputLabel, LockFlag::OutputMute, LockFlag::OutputGain, LockFlag::OutputLink};
}

template <class Data>
auto& curveFlags(Data& d, Side side) {
  return side == Side::Input ? d.editor.inputCurveVisible : d.editor.outputCurveVisible;
}

}  // namespace

StripBank::StripBank(Side side, ParameterImage& image, LinkGroups& links, QWidget* parent)
    : QWidget(parent), side_(side), image_(image), links_(links) {
  setObjectName(side == Side::Input ? "inputs" : "outputs");
  QBoxLayout* layout = side == Side::Input ? static_cast<QBoxLayout*>(new QVBoxLayout(this))
                                           : static_cast<QBoxLayout*>(new QHBoxLayout(this));
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  title_ = new QLabel(this);
  if (side == Side::Output) title_->setAlignment(Qt::AlignTop);
  layout->addWidget(title_);
  for (int n = 0; n < kChannels; ++n) {
    auto* strip = new ChannelStrip(side, n, this);
    auto* meter = new SLamp(side == Side::Input ? SLamp::Layout::Input : SLamp::Layout::Output, strip);
    strip->placeMeter(meter);
    strips_[static_cast<std::size_t>(n)] = strip;
    meters_[static_cast<std::size_t>(n)] = meter;
    wire(strip);
    layout->addWidget(strip, 1);
  }
}

void StripBank::wire(ChannelStrip* strip) {
  const int n = strip->channel();
  connect(strip, &ChannelStrip::selectClicked, this, [this, n] { emit selectRequested(n); });
  connect(strip, &ChannelStrip::muteClicked, this, [this, n](bool on) { onMute(n, on); });
  connect(strip, &ChannelStrip::curveClicked, this, [this, n] { onCurve(n); });
  connect(strip, &ChannelStrip::gainEdited, this, [this, n](int gain) { onGain(n, gain); });
  connect(strip, &ChannelStrip::linkGroupChosen, this, [this, n](int group) { onLinkGroup(n, group); });
  connect(strip, &ChannelStrip::nameEdited, this, [this, n](const QString& text) { onName(n, text); });
}

// The channel of this side whose page is shown, if any.
std::optional<int> StripBank::selectedHere() const {
  return image_.read([this](const ImageData& d) -> std::optional<int> {
    if (side_ == Side::Input && d.editor.selectedPage == Page::Input) return d.editor.selectedInput;
    if (side_ == Side::Output && d.editor.selectedPage == Page::Output) return d.editor.selectedOutput;
    return std::nullopt;
  });
}

QString StripBank::channelName(int channel) const {
  return image_.read([&](const ImageData& d) {
    return QString::fromStdString(
        NameField::FieldToText(d.edited.block(side_, channel).first(kNameBytes), kNameBytes));
  });
}

void StripBank::showSelection(std::optional<int> channel) {
  const std::array<bool, kChannels> flags =
      image_.read([this](const ImageData& d) { return curveFlags(d, side_); });
  for (int n = 0; n < kChannels; ++n) {
    const bool selected = channel == n;
    strip(n)->setSelected(selected);
    strip(n)->showCurve(selected || flags[static_cast<std::size_t>(n)]);
  }
}

void StripBank::showGain(int channel) {
  strip(channel)->showGain(image_.field(side_, channel, CommonField::Gain));
}

void StripBank::showLevels(const DeviceStatus& status) {
  const auto& levels = side_ == Side::Input ? status.inputLevels : status.outputLevels;
  for (std::size_t n = 0; n < kChannels; ++n) {
    if (side_ == Side::Input)
      meters_[n]->showInputLevel(levels[n]);
    else
      meters_[n]->showOutputLevel(levels[n]);
  }
}

void StripBank::resetMeters() {
  for (SLamp* meter : meters_) meter->reset();
}

// A full refresh keeps only the curve of the channel being edited.
void StripBank::refreshFromImage() {
  image_.modify([this](ImageData& d) { curveFlags(d, side_).fill(false); });
  showSelection(selectedHere());
  const bool namesLocked =
      image_.read([this](const ImageData& d) { return d.locks.isLocked(stripLocks(side_).name); });
  for (int n = 0; n < kChannels; ++n) {
    strip(n)->showMute(image_.field(side_, n, CommonField::Mute) != 0);
    showGain(n);
    strip(n)->showLinkGroup(links_.group(side_, n));
    if (!namesLocked) strip(n)->showName(channelName(n));
  }
}

void StripBank::applyLanguage() {
  title_->setText(uiText(side_ == Side::Input ? MainTexts::kInputs : MainTexts::kOutputs));
  for (ChannelStrip* s : strips_) s->applyLanguage();
}

void StripBank::applyLocks(const LockState& locks) {
  const StripLocks flags = stripLocks(side_);
  const bool nameLocked = locks.isLocked(flags.name);
  const bool linkLocked = locks.isLocked(flags.link);
  for (int n = 0; n < kChannels; ++n) {
    ChannelStrip* s = strip(n);
    if (s->nameEdit()->isLocked() != nameLocked) {
      s->lockName(nameLocked);
      if (!nameLocked) s->showName(channelName(n));
    }
    s->lockMute(locks.isLocked(flags.mute));
    s->lockGain(locks.isLocked(flags.gain));
    if (s->linkList()->isEnabled() == linkLocked) s->lockLinkGroup(linkLocked);
  }
}

// --- what the user does on a strip ------------------------------------------

void StripBank::onGain(int channel, int gain) {
  image_.setField(side_, channel, CommonField::Gain, gain);
  const std::array<Field, 1> following{CommonField::Gain};
  for (int member : links_.follow(side_, channel, following)) strip(member)->showGain(gain);
  emit channelEdited(channel);
}

void StripBank::onMute(int channel, bool sounding) {
  image_.setField(side_, channel, CommonField::Mute, sounding ? 1 : 0);
}

// The curve of the channel being edited always shows; the others toggle.
void StripBank::onCurve(int channel) {
  const bool edited = selectedHere() == channel;
  const bool visible = image_.modify([&](ImageData& d) {
    bool& flag = curveFlags(d, side_).at(static_cast<std::size_t>(channel));
    if (!edited) flag = !flag;
    return edited || flag;
  });
  strip(channel)->showCurve(visible);
  emit curvesChanged();
}

void StripBank::onLinkGroup(int channel, int group) {
  links_.join(side_, group, channel);
  strip(channel)->showLinkGroup(links_.group(side_, channel));
  showGain(channel);
  emit channelEdited(channel);
}

void StripBank::onName(int channel, const QString& text) {
  const std::vector<std::uint8_t> field = NameField::TextToField(text.toStdString(), kNameBytes);
  image_.modify([&](ImageData& d) { std::ranges::copy(field, d.edited.block(side_, channel).begin()); });
}

}  // namespace orvane::ui
