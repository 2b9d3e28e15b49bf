#pragma once

// The layout of the control page, so an installer gives the room only what
// it needs: the title, whether the master section shows, which inputs and
// outputs show with which label and controls, and which programs may be
// recalled. Read from a small JSON file:
//
//   {"title": "Lecture Hall",
//    "master": {"level": true, "mute": true},
//    "inputs": [{"channel": "A", "label": "Lectern", "controls": ["gain", "mute"]}],
//    "outputs": [{"channel": "1", "label": "Ceiling", "controls": ["mute"]}],
//    "programs": [1, 2, 5]}
//
// Every member may be left out: no file shows every channel with its gain
// and mute, the master section and all programs. A label left out shows
// the channel's name from the device.

#include <string>
#include <variant>

#include "control/DeviceJson.h"

namespace orvane::server {

namespace Panel {

// The layout with every member filled in, or the message naming the bad part.
std::variant<control::Json, std::string> parse(const std::string& text);
// Everything: what the page shows without a panel file.
control::Json everything();

}  // namespace Panel

}  // namespace orvane::server
