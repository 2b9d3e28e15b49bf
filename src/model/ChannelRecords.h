#pragma once

// Typed views of the two 8-byte records every channel block carries: an EQ
// band and the crossover pair. They are values: read one from the image,
// change it, write it back.

#include "model/BlockLayout.h"

namespace orvane {

struct EqBand {
  int FQCY = 20000;  // Hz
  int Gain = 400;    // gain code, 400 = 0 dB
  int Q = 25;        // bandwidth code
  int Slope = 0;     // shelf slope: 0 = 6 dB/oct, 1 = 12 dB/oct
  int Type = 0;      // 0 peaking, 1 low shelf, 2 high shelf

  friend bool operator==(const EqBand&, const EqBand&) = default;

  static EqBand read(std::span<const std::uint8_t> block, Side side, int band) {
    const BandFields f = bandFields(side, band);
    return {readField(block, f.FQCY), readField(block, f.Gain), readField(block, f.Q),
            readField(block, f.Slope), readField(block, f.Type)};
  }
  void write(std::span<std::uint8_t> block, Side side, int band) const {
    const BandFields f = bandFields(side, band);
    writeField(block, f.FQCY, FQCY);
    writeField(block, f.Gain, Gain);
    writeField(block, f.Q, Q);
    writeField(block, f.Slope, Slope);
    writeField(block, f.Type, Type);
  }
};

struct CrossoverPair {
  int XFQCY_Lo = 20;     // high-pass corner, Hz; 20 = high-pass off
  int XMode_Lo = 0;      // family: 0 Linkwitz-Riley, 1 Bessel, 2 Butterworth
  int XSLope_Lo = 0;     // slope code 0..6 = 12..48 dB/oct
  int XFQCY_Hi = 20000;  // low-pass corner, Hz; 20000 = low-pass off
  int XMode_Hi = 0;
  int XSLope_Hi = 0;

  friend bool operator==(const CrossoverPair&, const CrossoverPair&) = default;

  static CrossoverPair read(std::span<const std::uint8_t> block, Side side) {
    const CrossoverFields f = crossoverFields(side);
    return {readField(block, f.XFQCY_Lo), readField(block, f.XMode_Lo), readField(block, f.XSLope_Lo),
            readField(block, f.XFQCY_Hi), readField(block, f.XMode_Hi), readField(block, f.XSLope_Hi)};
  }
  void write(std::span<std::uint8_t> block, Side side) const {
    const CrossoverFields f = crossoverFields(side);
    writeField(block, f.XFQCY_Lo, XFQCY_Lo);
    writeField(block, f.XMode_Lo, XMode_Lo);
    writeField(block, f.XSLope_Lo, XSLope_Lo);
    writeField(block, f.XFQCY_Hi, XFQCY_Hi);
    writeField(block, f.XMode_Hi, XMode_Hi);
    writeField(block, f.XSLope_Hi, XSLope_Hi);
  }
};

}  // namespace orvane
