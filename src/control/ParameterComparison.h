#pragma once

// The parameters of a program whose values differ between two images: the
// working state and a program file, two files, or the working state and a
// program stored in the device. Values are compared as the pages show them,
// so two codes the editor shows alike count as equal.

#include <string>
#include <vector>

#include "control/ParameterPath.h"

namespace orvane::control {

struct Difference {
  ParameterPath path;
  std::string left;  // the value on each side, as the pages show it
  std::string right;
};

class ParameterComparison {
 public:
  // Every parameter a program holds (the channels, the crosspoints and the
  // master section; not the set-up block or the start-up program, which
  // belong to the device) whose value reads differently in `left` and
  // `right`: channel by channel (each in catalog order), then the
  // crosspoints and the master section. A value two paths show (an EQ band's
  // bandwidth and its Q) is listed once.
  static std::vector<Difference> differences(const ParameterImage& left, const ParameterImage& right);
  // The paths a comparison looks at.
  static const std::vector<ParameterPath>& compared();
};

}  // namespace orvane::control
