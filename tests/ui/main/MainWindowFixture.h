#pragma once

// What the main window's tests share: the window on a 1366 x 768 screen with
// the real transports, and a connection to a simulated device that waits
// until the device was read. The tests reach the window's parts through
// WindowParts.

#include <memory>

#include "ui/main/OrvaneDlg.h"
#include "ui/main/WindowParts.h"

namespace orvane::ui {

class SimProcess;

namespace MainWindowFixture {

std::unique_ptr<OrvaneDlg> open(ParameterImage& image,
                                const ProductVariant& variant = ProductVariant::builtDefault());

// Connects to `sim` over the network (or its RS-485 bus, device ID 1) and
// waits until the transfer window came and went and the window takes input
// again.
bool connectAndRead(OrvaneDlg& window, const SimProcess& sim, LinkType link = LinkType::Network);

}  // namespace MainWindowFixture

}  // namespace orvane::ui
