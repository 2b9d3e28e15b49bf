#pragma once

// Colours shared by the painted controls of the editor window: a dark desk
// with light engraving, so faders, buttons and meters read as one console.

#include <QColor>

namespace orvane::ui::ConsoleLook {

inline constexpr QRgb kPanel = qRgb(34, 37, 43);         // behind faders and buttons
inline constexpr QRgb kGroove = qRgb(12, 13, 16);        // fader slot
inline constexpr QRgb kEngraving = qRgb(150, 156, 168);  // ticks, off-state text
inline constexpr QRgb kEngravingDim = qRgb(80, 84, 92);  // ticks of a disabled control
inline constexpr QRgb kCapLight = qRgb(214, 218, 224);   // fader cap, top edge
inline constexpr QRgb kCapDark = qRgb(120, 125, 134);    // fader cap, bottom edge
inline constexpr QRgb kButtonFace = qRgb(58, 62, 70);    // button in the off state
inline constexpr QRgb kButtonEdge = qRgb(22, 24, 28);    // outline of every button
inline constexpr QRgb kHighlight = qRgb(64, 170, 255);   // the selected strip
inline constexpr QRgb kTextOn = qRgb(16, 16, 16);        // text on a light "on" colour
inline constexpr QRgb kTextOff = qRgb(222, 226, 232);    // text on the dark face
inline constexpr QRgb kTextDisabled = qRgb(110, 114, 122);

// "On" colours of the two-state buttons: green for a sounding channel,
// amber for a shown curve, orange for a routed crosspoint, red for a guard
// such as anti-feedback.
inline constexpr QRgb kOnGreen = qRgb(52, 206, 84);
inline constexpr QRgb kOnAmber = qRgb(255, 178, 36);
inline constexpr QRgb kOnOrange = qRgb(255, 127, 39);
inline constexpr QRgb kOnRed = qRgb(232, 56, 48);

}  // namespace orvane::ui::ConsoleLook
