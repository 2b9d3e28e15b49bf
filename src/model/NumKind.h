#pragma once

// How a numeric parameter's code reads as text and is typed back: the
// display kinds of the editor's fields, also used by the report, the
// command line and the server.

namespace orvane {

// Display kinds, numbered as in the pages' control tables.
enum class NumKind : int {
  DelayMs = 0,           // `Delay` in ms: samples up to 10 ms, then whole ms
  DelayMetres = 1,       // the same delay as the distance sound travels, metres
  DelayFeet = 2,         // ... and in feet
  Frequency = 4,         // Hz; the arrows step through the frequency grid
  Attack = 5,            // 0.3..0.9 ms in tenths, then whole ms
  Integer = 6,           // a plain number (release times), then the suffix
  Octaves = 7,           // bandwidth: code × step + 0.05 octaves
  Level = 10,            // code × step − offset with one decimal, then the suffix
  QFigure = 11,          // bandwidth as the Q of the band
  ScaledInteger = 20,    // code × step as a whole number, then the suffix
  WholeLevel = 23,       // code × step − offset, no decimals; "OFF" at code 0 (noise gate)
  LevelDbu = 24,         // one decimal followed by "dBu"
  LevelOffAtTop = 32,    // one decimal, no suffix; "OFF" at the maximum
  LevelOffAtMin = 33,    // one decimal, then the suffix; "OFF" at the minimum
  LevelOffAtMax = 34,    // one decimal, then the suffix; "OFF" at the maximum
  CompressorRatio = 40,  // "2.5:1"; typed text is not taken
  AgcRatio = 41,         // "1:2.5"; typed text is not taken
};

}  // namespace orvane
