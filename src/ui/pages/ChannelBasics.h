#pragma once

// The delay, gain and polarity of a channel page. The delay shows as a time
// and as the distance sound travels in that time, in metres and in feet; all
// three hold the same code, so entering one updates the other two. The gain
// has a field and a fader, and the channel's strip in the main window shows
// it too. Every change is copied to the linked channels.

#include <QWidget>

#include "ui/pages/CaptionSet.h"

class QGridLayout;
class QGroupBox;

namespace orvane::ui {

class ChannelEdit;
class Fader;
class NumField;
class ToggleButton;

class ChannelBasics : public QWidget {
  Q_OBJECT

 public:
  ChannelBasics(ChannelEdit& edit, QWidget* parent = nullptr);

  void showChannel();
  void applyLanguage() { captions_.apply(); }
  void lockDelay(bool locked);
  void lockGain(bool locked);
  void lockPolarity(bool locked);

  // Adds a captioned row under the gain and polarity.
  void addRow(const BiText& caption, QWidget* control);

  // 0 time in ms, 1 metres, 2 feet.
  NumField* delay(int form) const;
  NumField* gain() const { return gain_; }
  Fader* gainFader() const { return fader_; }
  ToggleButton* polarity() const { return polarity_; }
  // Shows the polarity beside it; takes no input.
  ToggleButton* polarityTwin() const { return twin_; }

 signals:
  // The gain of `channel` changed (the edited one or a linked one).
  void gainChanged(int channel);

 private:
  QGroupBox* buildDelay();
  QGroupBox* buildChannel();
  void onDelay(int code);
  void onGain(int code);
  void onPolarity();
  void showPolarity(bool inverted);

  ChannelEdit& edit_;
  CaptionSet captions_;
  std::array<NumField*, 3> delay_{};
  NumField* gain_ = nullptr;
  Fader* fader_ = nullptr;
  ToggleButton* polarity_ = nullptr;
  ToggleButton* twin_ = nullptr;
  QGridLayout* channelGrid_ = nullptr;
};

}  // namespace orvane::ui
