#pragma once

// The equaliser of a channel page: one column per band under a column of
// captions, and the bypass switch of the whole channel. Every change goes
// into the edited image and the channel's filter model, and the channels
// linked to it follow.

#include <QWidget>
#include <vector>

#include "ui/pages/CaptionSet.h"

namespace orvane::ui {

class ChannelEdit;
class EqBandColumn;
class ToggleButton;

class EqSection : public QWidget {
  Q_OBJECT

 public:
  EqSection(ChannelEdit& edit, QWidget* parent = nullptr);

  // Every band of the edited channel, and the bypass switch.
  void showAll();
  void showBand(int band);
  // The graph moved `band`: the column shows it and the linked channels
  // take the whole band.
  void bandDragged(int band);
  void applyLanguage();
  void setLocked(bool locked);

  int bandCount() const { return static_cast<int>(columns_.size()); }
  EqBandColumn* column(int band) const;
  ToggleButton* bypass() const { return bypass_; }

 signals:
  // The curve changed; `selected` is the element to show selected, or -1.
  void graphRedraw(int selected);

 private:
  template <class Change>
  void changeBand(int band, int selected, Change change);
  void onFrequency(int band, int hz);
  void onBandwidth(int band, int code);
  void onGain(int band, int code);
  void onToggle(int band);
  void onType(int band, int type);
  void onSlope(int band, int slope);
  void onBypass();

  ChannelEdit& edit_;
  CaptionSet captions_;
  ToggleButton* bypass_ = nullptr;
  std::vector<EqBandColumn*> columns_;
};

}  // namespace orvane::ui
