#pragma once

// The 12-byte lock packet of program operations: flags 0..47 packed (bit j of
// byte i is flag 8i + j), then the six password characters, or six blanks
// when no password is set.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/LockState.h"

namespace orvane::LockPacket {

using Packet = std::array<std::uint8_t, 12>;

Packet build(const LockState& locks);

// Spreads a packet received for program `program`: 0 = the working state
// (all flags and the password), 31 = the device-lock set (device-lock copy
// only), 1..30 = a stored program (function locks into flags and device-lock
// copy).
void apply(std::span<const std::uint8_t, 12> packet, int program, LockState& locks);

}  // namespace orvane::LockPacket
