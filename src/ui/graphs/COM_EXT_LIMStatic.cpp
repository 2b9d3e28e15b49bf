#include "ui/graphs/COM_EXT_LIMStatic.h"

#include <array>

namespace orvane::ui {

namespace {

constexpr std::array<const char*, 6> kLeftCaptions{"+20", "+10", "  0", "-10", "-20", "-30"};
constexpr std::array<const char*, 5> kBottomCaptions{"-20", "-10", "0", "+10", "+20"};
constexpr DynamicsAxes kAxes{500, kLeftCaptions, kBottomCaptions};

}  // namespace

COM_EXT_LIMStatic::COM_EXT_LIMStatic(ParameterImage& image, QWidget* parent)
    : DynamicsGraphOf(image, Side::Output, LockFlag::OutputDynamics, kAxes, parent) {
  setObjectName("compLimGraph");
}

void COM_EXT_LIMStatic::paintReferences(DynamicsPainter& painter) const {
  DynamicsGraphOf::paintReferences(painter);
  if (const auto limiter = geometry().limiterLine()) painter.reference((*limiter)[0], (*limiter)[1]);
}

}  // namespace orvane::ui
