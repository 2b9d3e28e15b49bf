#pragma once

// One channel strip of the main window: select button, mute and curve
// buttons, gain fader and field, link-group list and name. Input strips lie
// as rows down the left of the window, output strips as columns along its
// bottom; both carry the same controls.
//
// The strip only shows and reports: the window writes the image. The show*
// calls are silent, so refreshing a strip never comes back as an edit.

#include <QFrame>
#include <QLineEdit>

#include "model/BlockLayout.h"

class QComboBox;
class QLabel;
class QGridLayout;

namespace orvane::ui {

class Fader;
class NumField;
class SLamp;
class ToggleButton;

// A channel name: at most eight bytes in the device's GBK form (eight ASCII
// or four Chinese characters); longer input is refused as it is typed. While
// locked it is disabled and shows the lock word.
class NameEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit NameEdit(QWidget* parent = nullptr);

  // Shows a name from the image; clears the modified mark.
  void showName(const QString& name);
  void setLocked(bool locked, const QString& lockText);
  bool isLocked() const { return locked_; }

 signals:
  // The user left the field (or pressed Enter) after changing the text.
  void nameEdited(const QString& text);

 private:
  bool locked_ = false;
};

class ChannelStrip : public QFrame {
  Q_OBJECT

 public:
  ChannelStrip(Side side, int channel, QWidget* parent = nullptr);

  Side side() const { return side_; }
  int channel() const { return channel_; }

  // The level meter the window made for this channel, placed in the strip.
  void placeMeter(SLamp* meter);

  void showGain(int gain);
  void showMute(bool sounding);
  void showCurve(bool visible);
  void showLinkGroup(int group);
  void showName(const QString& name);
  // The selected strip wears the highlight on its frame and buttons.
  void setSelected(bool selected);
  bool isSelected() const { return selected_; }

  void lockName(bool locked);
  void lockMute(bool locked);
  void lockGain(bool locked);
  void lockLinkGroup(bool locked);

  // Button texts, the lock word and the group list of the current language.
  void applyLanguage();

  ToggleButton* selectButton() const { return select_; }
  ToggleButton* muteButton() const { return mute_; }
  ToggleButton* curveButton() const { return curve_; }
  Fader* fader() const { return fader_; }
  NumField* gainField() const { return gain_; }
  QComboBox* linkList() const { return link_; }
  NameEdit* nameEdit() const { return name_; }

 signals:
  void selectClicked();
  void muteClicked(bool sounding);
  void curveClicked();
  // From the fader or the field; the strip already shows the new value.
  void gainEdited(int gain);
  void linkGroupChosen(int group);
  void nameEdited(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void fillLinkList();
  void userGain(int gain);

  Side side_;
  int channel_;
  bool selected_ = false;
  bool linkLocked_ = false;
  int linkGroup_ = 0;
  QGridLayout* grid_ = nullptr;
  ToggleButton* select_ = nullptr;
  ToggleButton* mute_ = nullptr;
  ToggleButton* curve_ = nullptr;
  Fader* fader_ = nullptr;
  NumField* gain_ = nullptr;
  QComboBox* link_ = nullptr;
  NameEdit* name_ = nullptr;
};

}  // namespace orvane::ui
