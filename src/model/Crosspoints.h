#pragma once

// The 8 x 8 matrix: a crosspoint is on when its mix level is not 0. Switching
// one off keeps its level in the crosspoint memo, so switching it on again
// brings the same level back.

#include "model/ParameterImage.h"

namespace orvane::Crosspoints {

bool isOn(const ParameterImage& image, int input, int output);
// Switches crosspoint (input, output) to the other state; returns the new one.
bool toggle(ParameterImage& image, int input, int output);
void setOn(ParameterImage& image, int input, int output, bool on);
// A level set on the matrix page (0 switches the crosspoint off); the memo
// remembers it, or 0 dB when it is 0.
void setLevel(ParameterImage& image, int input, int output, int level);

}  // namespace orvane::Crosspoints
