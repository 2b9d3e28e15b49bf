#pragma once

// How the integer codes of the parameter image become engineering units and
// text, by the parameter's scale. Pages, the main window, the graphs and the
// report all convert through these rules, so a value reads the same
// everywhere.
//
// Every conversion first limits the code to its scale's range: codes from a
// damaged program file or a confused device still read as a value the device
// can hold, never as a nonsense figure.
//
// Texts round halves away from zero and never show a minus sign on a figure
// that reads as zero.

#include <string>

#include "model/ParameterScale.h"

namespace orvane::ValueScales {

// The compressor shows its ratio as "2.5:1", the AGC as "1:2.5".
enum class RatioKind { Compressor, Agc };

// The stored code limited to the scale's range.
int ClampCode(const ParameterScale& scale, int code);
bool IsOff(const ParameterScale& scale, int code);

// Value in the scale's unit: dB, dBu, octaves, Hz, ms, or the ratio figure.
double ToUnit(const ParameterScale& scale, int code);

// Report form of any scale: "-12.5dB", "OFF", "0.30oct", "1000Hz", "0.500ms",
// "150ms", "2.5:1", "1:2.5".
std::string LevelText(const ParameterScale& scale, int code);

// `value` with `decimals` places, halves rounded away from zero, no "-0".
std::string FixedText(double value, int decimals);

// Delay: code <= 480 counts 48 kHz samples (c / 48 ms, up to 10 ms); above
// that each step is one millisecond (11..1000 ms).
double DelayToMs(int code);
// Distance sound travels in the delay time, for aligning loudspeakers.
double DelayToMetres(int code);
double DelayToFeet(int code);

// Report form: "0.500ms", "10ms".
std::string DelayText(int code);
// Number parts of the three delay displays of a channel page.
std::string DelayMsDisplay(int code);
std::string DelayMetresDisplay(int code);
std::string DelayFeetDisplay(int code);

std::string AttackText(int code);
std::string RatioText(int code, RatioKind kind);

// Above 2.0 only whole and half ratios exist: any other code moves to the
// half ratio of its decade (12..19 -> 16, 20 -> 26, 22..29 -> 26, ...), then
// the code is limited to 1..191.
int SnapRatio(int code);

// The air temperature setting of the distance displays and what follows from
// it: the setting minus 50 is the temperature in degrees Celsius.
inline constexpr int kTemperatureSetting = 71;
inline constexpr double kSoundMetresPerMs = (331.0 + 0.6 * (kTemperatureSetting - 50)) / 1000.0;
inline constexpr double kFeetPerMetre = 3.281;

}  // namespace orvane::ValueScales
