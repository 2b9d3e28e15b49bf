#pragma once

// Start-up values of every field of the channel blocks. They write named
// fields only, so reserved bytes keep whatever the block holds.

#include <span>

#include "model/BlockLayout.h"

namespace orvane::ChannelDefaults {

// Name "A".."H", unity gain, identity routing (input n to output n), flat EQ
// at the input band frequencies, crossover off.
void applyInput(std::span<std::uint8_t> block, int channel);

// Name "1".."8", unity gain, limiter and compressor off, flat EQ at the
// output band frequencies, crossover off.
void applyOutput(std::span<std::uint8_t> block, int channel);

void apply(Side side, std::span<std::uint8_t> block, int channel);

}  // namespace orvane::ChannelDefaults
