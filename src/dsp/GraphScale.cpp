#include "dsp/GraphScale.h"

#include <algorithm>

namespace orvane {

int GraphScale::frequencyAt(double x) const {
  if (decade_ <= 0) return kLowestHz;
  const double hz = kLowestHz * std::pow(10.0, x / decade_);
  return static_cast<int>(std::clamp(hz, double{kLowestHz}, double{kHighestHz}));
}

int GraphScale::gainAt(double y) const {
  if (height_ <= 0) return 0;
  return static_cast<int>(std::lround(40 - y * 120 / height_));
}

}  // namespace orvane
