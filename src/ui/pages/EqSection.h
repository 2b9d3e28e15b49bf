#pragma once

// The equaliser of a channel page: one column per band under a column of
// captions, the bypass switch of the whole channel, and the import of a
// Room EQ Wizard filter file. Every change goes into the edited image and
// the channel's filter model, and the channels linked to it follow.

#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "ui/pages/CaptionSet.h"

class QPushButton;

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
  // Takes the filters of a Room EQ Wizard filter file into every band of
  // the edited channel and its linked channels. Returns an empty text, or
  // why the file was refused (nothing changed then).
  std::string importFilters(std::string_view text);
  void applyLanguage();
  void setLocked(bool locked);

  int bandCount() const { return static_cast<int>(columns_.size()); }
  EqBandColumn* column(int band) const;
  ToggleButton* bypass() const { return bypass_; }
  QPushButton* importButton() const { return import_; }

 signals:
  // The curve changed; `selected` is the element to show selected, or -1.
  void graphRedraw(int selected);
  // The user asked to import a filter file; the window asks for the file.
  void importRequested();

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
  QPushButton* import_ = nullptr;
  std::vector<EqBandColumn*> columns_;
};

}  // namespace orvane::ui
