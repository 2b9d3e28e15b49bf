#include "dsp/SetGeometry.h"

namespace orvane {

void SetGeometry::Layout(const GraphScale& scale, CKTVEQ& set) {
  for (std::size_t i = 0; i < kGridPoints; ++i)
    set.curveX()[i] = static_cast<float>(scale.x(FreqGrid[i]) + GraphScale::kLeft);
  for (ElementGeometry& geometry : elements_) geometry.Layout(scale);
  // Only geometry changes with the plot's size: the gains an EQ bypass or a
  // switched-off band keeps aside are not reloaded from their records (which
  // hold 0 dB meanwhile).
  for (int i = 0; i < set.elementCount(); ++i) set.element(i).Recompute(false);
  set.SumCurve(scale.height());
  PlaceAll(set);
}

void SetGeometry::PlaceAll(const CKTVEQ& set) {
  for (int i = 0; i < set.elementCount(); ++i) element(i).Place(set.element(i));
}

std::optional<int> SetGeometry::elementAt(const CKTVEQ& set, GraphPoint p, bool bandsLocked,
                                          bool crossoverLocked) const {
  for (int i = 0; i < set.elementCount(); ++i) {
    const bool locked = isCrossoverKind(set.element(i).kind()) ? crossoverLocked : bandsLocked;
    if (!locked && element(i).marker().contains(p)) return i;
  }
  return std::nullopt;
}

}  // namespace orvane
