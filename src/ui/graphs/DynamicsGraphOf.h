#pragma once

// A dynamics graph drawn and dragged through its curve geometry: the
// geometry numbers the handles, gives their squares, colours and fields,
// and writes a drag into the edited image.

#include <optional>

#include "ui/graphs/DynamicsGraph.h"

namespace orvane::ui {

template <class Geometry>
class DynamicsGraphOf : public DynamicsGraph {
 public:
  const Geometry& geometry() const { return geometry_; }

 protected:
  using Handle = typename Geometry::Handle;

  DynamicsGraphOf(ParameterImage& image, Side side, int lockFlag, const DynamicsAxes& axes, QWidget* parent)
      : DynamicsGraph(image, side, lockFlag, axes, parent), geometry_(PlotRect{}) {}

  void layOut(PlotRect client) override { geometry_ = Geometry(client); }
  void recompute() override { geometry_.update(image(), channel()); }
  const DynamicsPlot& plot() const override { return geometry_.plot(); }

  std::optional<int> handleAt(PlotPoint pointer) const override {
    const std::optional<Handle> found = geometry_.handleAt(pointer);
    return found ? std::optional(static_cast<int>(*found)) : std::nullopt;
  }
  const HandleInfo& infoOf(int handle) const override {
    return Geometry::infoOf(static_cast<Handle>(handle));
  }
  std::optional<int> drag(int handle, double y) override {
    return geometry_.drag(image(), channel(), static_cast<Handle>(handle), y);
  }

  void paintCurve(DynamicsPainter& painter) const override {
    paintReferences(painter);
    painter.curve(geometry_.curve(), colour());
    for (Handle handle : Geometry::kHandles)
      painter.handle(geometry_.handleRect(handle), Geometry::infoOf(handle).colour);
  }
  // The grey dashed lines under the curve: the 1:1 diagonal.
  virtual void paintReferences(DynamicsPainter& painter) const {
    const auto [from, to] = geometry_.plot().diagonal();
    painter.reference(from, to);
  }

 private:
  Geometry geometry_;
};

}  // namespace orvane::ui
