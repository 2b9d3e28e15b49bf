#include "ui/main/WindowParts.h"

#include <utility>

#include "ui/main/ProgramWorkflow.h"
#include "ui/main/StripBank.h"
#include "ui/main/TopBar.h"

namespace orvane::ui {

ChannelStrip* WindowParts::inputStrip(int channel) const {
  return bank(Side::Input)->strip(channel);
}

ChannelStrip* WindowParts::outputStrip(int channel) const {
  return bank(Side::Output)->strip(channel);
}

SLamp* WindowParts::inputMeter(int channel) const {
  return bank(Side::Input)->meter(channel);
}

SLamp* WindowParts::outputMeter(int channel) const {
  return bank(Side::Output)->meter(channel);
}

QString WindowParts::statusText(int field) const {
  return window_.topBar_->statusText(field);
}

void WindowParts::setFileChooser(std::unique_ptr<FileChooser> chooser) const {
  window_.programs_->setFileChooser(std::move(chooser));
}

QPushButton* WindowParts::linkButton() const {
  return window_.topBar_->linkButton();
}

QPushButton* WindowParts::languageButton() const {
  return window_.topBar_->languageButton();
}

}  // namespace orvane::ui
