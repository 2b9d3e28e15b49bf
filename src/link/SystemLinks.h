#pragma once

// The machine's real links for a Command: the serial ports through
// libserialport, USB HID devices through hidapi, and the network.

namespace orvane {

class Command;
class ParameterImage;

namespace SystemLinks {

// Shaped as the editor session's transport factory; the real links need
// nothing of the image.
void attach(Command& command, ParameterImage& image);

}  // namespace SystemLinks

}  // namespace orvane
