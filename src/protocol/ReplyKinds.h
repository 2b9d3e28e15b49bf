#pragma once

// What a request frame asks of the device beyond an ordinary reply, worked
// out in one place for the editor's links, the simulated device and the
// bridge alike.

#include <cstdint>
#include <span>

#include "protocol/SendData.h"

namespace orvane {

// A network rename or a network factory reset: the device's network module
// restarts after acknowledging it and drops its connection, so the links
// give such a request longer and the network link ends itself after it.
bool restartsNetworkModule(ReplyKind kind);

// The special reply the request frame `request` (its wire bytes) waits
// for: reading or writing the network name, the network factory reset.
ReplyKind replyKindOf(std::span<const std::uint8_t> request);

}  // namespace orvane
