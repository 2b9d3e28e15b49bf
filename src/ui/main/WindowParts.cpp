#include "ui/main/WindowParts.h"

#include <utility>

#include "ui/main/StripBank.h"
#include "ui/main/TopBar.h"

namespace orvane::ui {

StripBank* WindowParts::bank(Side side) const {
  return side == Side::Input ? window_.inputs_ : window_.outputs_;
}

ChannelStrip* WindowParts::inputStrip(int channel) const {
  return window_.inputs_->strip(channel);
}

ChannelStrip* WindowParts::outputStrip(int channel) const {
  return window_.outputs_->strip(channel);
}

SLamp* WindowParts::inputMeter(int channel) const {
  return window_.inputs_->meter(channel);
}

SLamp* WindowParts::outputMeter(int channel) const {
  return window_.outputs_->meter(channel);
}

QString WindowParts::statusText(int field) const {
  return window_.topBar_->statusText(field);
}

void WindowParts::setFileChooser(std::unique_ptr<FileChooser> chooser) const {
  window_.chooser_ = std::move(chooser);
}

QPushButton* WindowParts::languageButton() const {
  return window_.topBar_->languageButton();
}

}  // namespace orvane::ui
