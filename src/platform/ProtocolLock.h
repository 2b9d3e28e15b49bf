#pragma once

#include <mutex>

namespace orvane {

// Guards the send queue and the operations that rewrite several blocks while
// a link may be running. Re-entrant: the connect sequence queues the full read
// while it already holds the lock.
using ProtocolLock = std::recursive_mutex;

}  // namespace orvane
