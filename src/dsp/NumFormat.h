#pragma once

// The rules of a numeric entry field, apart from the widget: how a parameter
// code reads as text, how typed text becomes a code again, and how the spin
// arrows and the mouse wheel move a code. The display kind picks the rule;
// the pages configure each field with a kind, a range, a step and an offset.
//
// Every code a rule returns lies in the field's range, whatever was typed:
// the value goes straight into the parameter image and from there to the
// device.

#include <string>
#include <string_view>

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

// The result of reading typed text.
struct NumParsed {
  int code = 0;             // the code to store; the current one when the text is not taken
  bool outOfRange = false;  // a negative delay or distance: the user is told, the minimum is taken
};

struct NumFormat {
  NumKind kind = NumKind::DelayMs;
  // Value in units = code × step − offset for the scaled kinds. A step that
  // is not positive (a field nobody gave a step) counts as 1, so no code and
  // no typed text divides by zero.
  double step = 0.0;
  double offset = 0.0;
  std::string suffix;  // unit after the number, where the kind shows one
  int minimum = 0;
  int maximum = 100;

  // The text the field shows for `code`.
  std::string text(int code) const;

  // Reads text the user typed into a field holding `current`.
  NumParsed parse(std::string_view typed, int current) const;

  // False for the ratio kinds: their value changes only by the arrows, the
  // wheel or the program.
  bool takesTypedText() const;

  // The code after `steps` presses of the up (positive) or down arrow: one
  // code per press, except the frequency grid for frequencies and the whole
  // and half ratios above 2.0 for ratios. Limited to the range.
  int arrowStep(int code, int steps) const;

  // The code after `notches` wheel notches: one code per notch; ratios move
  // as with the arrows so that the wheel never reaches a ratio the device
  // does not have.
  int wheelStep(int code, int notches) const;

  // Characters a field takes from the keyboard: digits, the point and the
  // minus sign. Everything else is swallowed.
  static bool acceptsCharacter(char32_t character);

  double effectiveStep() const;
  bool isRatio() const { return kind == NumKind::CompressorRatio || kind == NumKind::AgcRatio; }
};

}  // namespace orvane
