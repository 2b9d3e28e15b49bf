#pragma once

namespace orvane {

// Coefficients of one second-order section
// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (a0 + a1 z^-1 + a2 z^-2), as a design
// produces them (not yet normalised by a0). A first-order section has
// a2 = b2 = 0.
struct Biquad {
  double b0 = 1, b1 = 0, b2 = 0;
  double a0 = 1, a1 = 0, a2 = 0;

  // The section that passes everything unchanged (0 dB at every frequency).
  static constexpr Biquad unity() { return {}; }
  constexpr bool isUnity() const { return b0 == 1 && b1 == 0 && b2 == 0 && a0 == 1 && a1 == 0 && a2 == 0; }

  friend constexpr bool operator==(const Biquad&, const Biquad&) = default;
};

}  // namespace orvane
