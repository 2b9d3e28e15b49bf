#pragma once

// The output page's dynamics graph: the compressor bending the curve down
// above its level and the limiter capping it at its threshold. Its three
// handles drag the compressor level and ratio and the limiter threshold.

#include "dsp/CompLimCurveGeometry.h"
#include "ui/graphs/DynamicsGraphOf.h"

namespace orvane::ui {

class COM_EXT_LIMStatic : public DynamicsGraphOf<CompLimCurveGeometry> {
  Q_OBJECT

 public:
  explicit COM_EXT_LIMStatic(ParameterImage& image, QWidget* parent = nullptr);

 protected:
  // The diagonal and, while the limiter is on, its level across the plot.
  void paintReferences(DynamicsPainter& painter) const override;
};

}  // namespace orvane::ui
