#pragma once

// The crossover of a channel page: the high-pass and the low-pass, each with
// its corner frequency, its slope and, on outputs, its filter family. The
// high-pass never goes above the low-pass: a corner past the other one is
// replaced by it and the field shows what was stored.

#include <QGroupBox>

#include "model/BlockLayout.h"
#include "ui/pages/CaptionSet.h"

class QComboBox;

namespace orvane::ui {

class ChannelEdit;
class NumField;

class CrossoverSection : public QGroupBox {
  Q_OBJECT

 public:
  CrossoverSection(ChannelEdit& edit, QWidget* parent = nullptr);

  void showChannel();
  // The graph moved the high-pass or the low-pass: the fields show it and
  // the linked channels take both corners.
  void cornerDragged(int index);
  void applyLanguage();
  void setLocked(bool locked);

  // The element indices of the two filters in the channel's filter model.
  int highPassIndex() const;
  int lowPassIndex() const { return highPassIndex() + 1; }

  NumField* frequency(bool highPass) const { return highPass ? highFrequency_ : lowFrequency_; }
  QComboBox* slope(bool highPass) const { return highPass ? highSlope_ : lowSlope_; }
  // Null on the input page, which has no family lists.
  QComboBox* family(bool highPass) const { return highPass ? highFamily_ : lowFamily_; }

 signals:
  void graphRedraw(int selected);

 private:
  void addRow(int row, bool highPass);
  void onFrequency(bool highPass, int hz);
  void onChoice(bool highPass, Field field, int choice);
  void recompute(bool highPass);
  void refill();

  ChannelEdit& edit_;
  CaptionSet captions_;
  NumField* highFrequency_ = nullptr;
  NumField* lowFrequency_ = nullptr;
  QComboBox* highSlope_ = nullptr;
  QComboBox* lowSlope_ = nullptr;
  QComboBox* highFamily_ = nullptr;
  QComboBox* lowFamily_ = nullptr;
};

}  // namespace orvane::ui
