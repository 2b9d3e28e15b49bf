#pragma once

// Up to four second-order sections in series: the digital model of one EQ
// band (one section) or one crossover filter (up to four sections), and its
// exact magnitude response on the frequency grid.

#include <array>
#include <span>

#include "dsp/Biquad.h"
#include "dsp/FreqGrid.h"

namespace orvane {

class Cascade {
 public:
  static constexpr int kMaxSections = 4;

  // All sections unity: 0 dB everywhere.
  Cascade() = default;

  Biquad& section(int k) { return sections_.at(static_cast<std::size_t>(k)); }
  const Biquad& section(int k) const { return sections_.at(static_cast<std::size_t>(k)); }
  bool isUnity() const;

  // Writes the cascade's gain in dB at every grid point: the sum of the
  // sections' gains. Unity sections contribute exactly 0 dB. The result is
  // always finite, even for sections built from damaged records.
  void evaluate(std::span<double, kGridPoints> responseDb) const;

 private:
  std::array<Biquad, kMaxSections> sections_{};
};

}  // namespace orvane
