#pragma once

// Progress bar of program transfers and of the connection dialog: the filled
// part runs through a colour gradient from the start colour to the end
// colour, the gradient spanning the whole bar so the colour at the tip tells
// how far the transfer has come.

#include <QColor>
#include <QWidget>
#include <optional>

namespace orvane::ui {

class GradientProgressCtrl : public QWidget {
  Q_OBJECT

 public:
  explicit GradientProgressCtrl(QWidget* parent = nullptr);

  int lower() const { return lower_; }
  int upper() const { return upper_; }
  int position() const { return position_; }

  void setStep(int step) { step_ = step; }
  int step() const { return step_; }

  void setStartColor(const QColor& color);
  QColor startColor() const { return start_; }
  void setEndColor(const QColor& color);
  QColor endColor() const { return end_; }
  // Without a colour of its own the bar follows the palette's window colour.
  void setBackgroundColor(const QColor& color);
  QColor backgroundColor() const;
  void setTextColor(const QColor& color);
  QColor textColor() const { return text_; }

  void setShowPercentage(bool show);
  bool showsPercentage() const { return showPercentage_; }

  void setOrientation(Qt::Orientation orientation);
  Qt::Orientation orientation() const { return orientation_; }

  // Share of the range covered, 0..100.
  double percentage() const;
  // "%3.0f %%" of the percentage, as the bar shows it.
  QString percentageText() const;

  // Colour of band `band` out of `bands` between `start` and `end`.
  static QColor bandColor(const QColor& start, const QColor& end, int band, int bands);
  // Number of gradient bands: the largest step of any colour component, at
  // least one so equal colours draw as one flat band.
  static int bandCount(const QColor& start, const QColor& end);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 public slots:
  // A reversed range is put in order; the position is kept inside it.
  void setRange(int lower, int upper);
  // Positions are held inside the range.
  void setPosition(int position);
  // Advances by one step, stopping at the upper bound.
  void stepIt();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintGradient(QPainter& painter, int length, int filled) const;
  void paintPercentage(QPainter& painter) const;

  int lower_ = 0;
  int upper_ = 100;
  int position_ = 0;
  int step_ = 10;
  QColor start_{255, 0, 0};
  QColor end_{0, 0, 255};
  std::optional<QColor> background_;
  QColor text_{255, 255, 255};
  bool showPercentage_ = false;
  Qt::Orientation orientation_ = Qt::Horizontal;
};

}  // namespace orvane::ui
