#pragma once

#include <cstdint>

#include "model/BlockLayout.h"

namespace orvane {

// The colour a channel's curve, dynamics graph and overlay are drawn in.
struct ChannelColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend constexpr bool operator==(ChannelColour, ChannelColour) = default;

  // The fixed colour of input or output `channel` (0..7).
  static ChannelColour of(Side side, int channel);
};

}  // namespace orvane
