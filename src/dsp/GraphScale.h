#pragma once

// The scales of the EQ graph's plot: three decades from 20 Hz to 20 kHz
// across, +40 dB at the top to -80 dB at the bottom, and back from pixels to
// a frequency and a whole-dB gain as the graph's drags need them. Positions
// are plot pixels; the plot sits in the graph at (kLeft, kTop).

#include <cmath>

namespace orvane {

class GraphScale {
 public:
  // Where the plot sits in the graph: room for the captions left and below.
  static constexpr int kLeft = 35;
  static constexpr int kTop = 10;
  static constexpr int kRight = 10;
  static constexpr int kBottom = 20;
  static constexpr int kLowestHz = 20;
  static constexpr int kHighestHz = 20000;

  GraphScale() = default;
  GraphScale(int width, int height) : width_(width), height_(height), decade_(width / 3) {}

  int width() const { return width_; }
  int height() const { return height_; }

  double x(double hz) const { return std::log10(hz / kLowestHz) * decade_; }
  double y(double db) const { return height_ / 120.0 * (40 - db); }
  // The frequency at plot column `x`, within 20..20000 Hz and truncated.
  int frequencyAt(double x) const;
  // The gain at plot row `y`, rounded half away from zero to a whole dB.
  int gainAt(double y) const;

 private:
  int width_ = 0;
  int height_ = 0;
  int decade_ = 0;  // pixels per decade: the width divided by 3, as an integer
};

}  // namespace orvane
