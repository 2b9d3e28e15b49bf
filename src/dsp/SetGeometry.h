#pragma once

// The EQ graph's geometry of one channel's filter set: the columns of its
// summed curve and the geometry of each of its elements, and which element
// a pointer finds.

#include <optional>

#include "dsp/CKTVEQ.h"
#include "dsp/ElementGeometry.h"

namespace orvane {

class SetGeometry {
 public:
  // Lays the set out on a plot of `scale`'s size: the curve's columns, every
  // element's outline columns, and everything placed from the elements.
  void Layout(const GraphScale& scale, CKTVEQ& set);
  // Places every element anew (after the set's values changed).
  void PlaceAll(const CKTVEQ& set);

  ElementGeometry& element(int index) { return elements_.at(static_cast<std::size_t>(index)); }
  const ElementGeometry& element(int index) const { return elements_.at(static_cast<std::size_t>(index)); }

  // The first element, in the set's order, whose marker holds `p` and whose
  // kind is not locked (bands by the EQ lock, "LC" and "HC" by the crossover
  // lock).
  std::optional<int> elementAt(const CKTVEQ& set, GraphPoint p, bool bandsLocked, bool crossoverLocked) const;

 private:
  std::array<ElementGeometry, CKTVEQ::kMaxElements> elements_{};
};

}  // namespace orvane
