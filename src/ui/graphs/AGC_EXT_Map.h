#pragma once

// The input page's dynamics graph: the AGC lifting quiet signals from its
// threshold towards its target level, and the compressor bending the curve
// down above its level. Its five handles drag the AGC threshold, ratio and
// target and the compressor level and ratio.

#include "dsp/AgcCurveGeometry.h"
#include "ui/graphs/DynamicsGraphOf.h"

namespace orvane::ui {

class AGC_EXT_Map : public DynamicsGraphOf<AgcCurveGeometry> {
  Q_OBJECT

 public:
  explicit AGC_EXT_Map(ParameterImage& image, QWidget* parent = nullptr);
};

}  // namespace orvane::ui
