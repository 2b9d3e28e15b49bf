#pragma once

// The controls of one EQ band, placed as a column of the equaliser's grid:
// the on/off switch, the band type, the frequency, the bandwidth in octaves
// and as Q (peaking bands) or the slope (shelves), the gain as a number and
// as a fader. The column only shows a band and reports what the user does;
// the equaliser section applies it.

#include <QObject>

class QComboBox;
class QGridLayout;
class QWidget;

namespace orvane::ui {

class Fader;
class NumField;
class ToggleButton;

// What the column shows of its band.
struct BandView {
  int type = 0;  // 0 peaking, 1 low shelf, 2 high shelf; other values show no type
  int frequency = 1000;
  int bandwidth = 0;
  int slope = 0;
  int gain = 400;
  bool flat = true;
};

class EqBandColumn : public QObject {
  Q_OBJECT

 public:
  static constexpr int kFirstRow = 0;
  static constexpr int kRows = 7;

  // Places the controls into column `column` of `grid`, rows kFirstRow on.
  EqBandColumn(int band, QWidget* parent, QGridLayout* grid, int column);

  void show(const BandView& band);
  // The type and slope lists in the current language.
  void refill();
  void setLocked(bool locked);

  ToggleButton* toggle() const { return toggle_; }
  QComboBox* type() const { return type_; }
  NumField* frequency() const { return frequency_; }
  NumField* octaves() const { return octaves_; }
  NumField* q() const { return q_; }
  QComboBox* slope() const { return slope_; }
  NumField* gain() const { return gain_; }
  Fader* fader() const { return fader_; }

 signals:
  void toggleClicked();
  void typeChosen(int type);
  void frequencyEdited(int hz);
  void bandwidthEdited(int code);
  void slopeChosen(int slope);
  void gainEdited(int code);

 private:
  void arrange(int type, int frequency);

  ToggleButton* toggle_;
  QComboBox* type_;
  NumField* frequency_;
  NumField* octaves_;
  NumField* q_;
  QComboBox* slope_;
  NumField* gain_;
  Fader* fader_;
  BandView shown_;
  bool locked_ = false;
};

}  // namespace orvane::ui
