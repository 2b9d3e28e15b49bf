#pragma once

// The eight channel strips of one side with their level meters: inputs as
// rows down the left of the window, outputs as columns along its bottom.
// The bank turns what the user does on a strip into edits of the parameter
// image (the worker sends the changed rows), copies gains to the other
// members of a link group, and joins groups.

#include <QWidget>
#include <array>
#include <optional>

#include "link/LinkGroups.h"
#include "model/DeviceStatus.h"
#include "ui/widgets/WindowPart.h"

class QLabel;

namespace orvane::ui {

class ChannelStrip;
class SLamp;

class StripBank : public QWidget, public WindowPart {
  Q_OBJECT

 public:
  StripBank(Side side, ParameterImage& image, LinkGroups& links, QWidget* parent = nullptr);

  Side side() const { return side_; }
  ChannelStrip* strip(int channel) const { return strips_.at(static_cast<std::size_t>(channel)); }
  SLamp* meter(int channel) const { return meters_.at(static_cast<std::size_t>(channel)); }

  // Highlights the strip of the channel being edited (none when the page of
  // the other side or the matrix page is shown); the others show their own
  // curve flags.
  void showSelection(std::optional<int> channel);
  void showGain(int channel);
  void showLevels(const DeviceStatus& status);
  void resetMeters();

  void refreshFromImage() override;
  void applyLanguage() override;
  void applyLocks(const LockState& locks) override;

 signals:
  void selectRequested(int channel);
  // A curve button changed which curves the graph overlays.
  void curvesChanged();
  // The user changed the gain or the link group of `channel`.
  void channelEdited(int channel);

 private:
  void wire(ChannelStrip* strip);
  std::optional<int> selectedHere() const;
  QString channelName(int channel) const;
  void onGain(int channel, int gain);
  void onMute(int channel, bool sounding);
  void onCurve(int channel);
  void onLinkGroup(int channel, int group);
  void onName(int channel, const QString& text);

  Side side_;
  ParameterImage& image_;
  LinkGroups& links_;
  QLabel* title_ = nullptr;
  std::array<ChannelStrip*, kChannels> strips_{};
  std::array<SLamp*, kChannels> meters_{};
};

}  // namespace orvane::ui
