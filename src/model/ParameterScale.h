#pragma once

// How the integer code of one numeric parameter reads: the display kind, the
// straight line from code to value, the range, the unit and the places a
// report shows. The pages' fields, the report, the command line and the
// server all read a parameter through its scale, so it reads the same
// everywhere.

#include <optional>
#include <string_view>

#include "model/NumKind.h"

namespace orvane {

struct ParameterScale {
  NumKind kind;
  // Value in units = (code + shown) × step − offset for the kinds that are a
  // straight line; the kind's own rule for delays, attack times and ratios.
  double step;
  double offset;
  // The range of the field: the stored code + shown.
  int minimum;
  int maximum;
  std::string_view unit = {};  // after the value in reports and on the command line
  int decimals = 0;            // places of the value in reports
  int shown = 0;               // the field shows the stored code + shown

  constexpr int storedMinimum() const { return minimum - shown; }
  // The code of value 0 on a level scale: the mark of the faders.
  constexpr int unityCode() const { return static_cast<int>(offset / step + 0.5) - shown; }
  constexpr int storedMaximum() const { return maximum - shown; }

  // The stored code that switches the function off, for the kinds that have
  // one: the bottom of the range ("OFF" at the minimum, the noise gate) or
  // its top ("OFF" at the maximum).
  constexpr std::optional<int> offCode() const {
    switch (kind) {
      case NumKind::WholeLevel:
      case NumKind::LevelOffAtMin:
        return storedMinimum();
      case NumKind::LevelOffAtTop:
      case NumKind::LevelOffAtMax:
        return storedMaximum();
      default:
        return std::nullopt;
    }
  }

  // Whether the value is a straight line through the codes.
  constexpr bool isLinear() const {
    switch (kind) {
      case NumKind::DelayMs:
      case NumKind::DelayMetres:
      case NumKind::DelayFeet:
      case NumKind::Attack:
      case NumKind::QFigure:
      case NumKind::CompressorRatio:
      case NumKind::AgcRatio:
        return false;
      default:
        return true;
    }
  }

  constexpr bool isRatio() const { return kind == NumKind::CompressorRatio || kind == NumKind::AgcRatio; }
};

}  // namespace orvane
