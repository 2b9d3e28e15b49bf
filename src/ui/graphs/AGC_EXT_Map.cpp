#include "ui/graphs/AGC_EXT_Map.h"

#include <array>

namespace orvane::ui {

namespace {

constexpr std::array<const char*, 11> kLeftCaptions{"+20", "+10", " 0",  "-10", "-20", "-30",
                                                    "-40", "-50", "-60", "-70", "-80"};
constexpr std::array<const char*, 10> kBottomCaptions{"-70", "-60", "-50", "-40", "-30",
                                                      "-20", "-10", "0",   "+10", "+20"};
constexpr DynamicsAxes kAxes{1000, kLeftCaptions, kBottomCaptions};

}  // namespace

AGC_EXT_Map::AGC_EXT_Map(ParameterImage& image, QWidget* parent)
    : DynamicsGraphOf(image, Side::Input, LockFlag::InputDynamics, kAxes, parent) {
  setObjectName("agcGraph");
}

}  // namespace orvane::ui
