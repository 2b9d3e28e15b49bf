#pragma once

#include "platform/Event.h"

namespace orvane {

// What a port thread sees when it waits for the event next to its port:
// whether the event's descriptor is ready now.
bool descriptorReadable(const Event& event);

}  // namespace orvane
