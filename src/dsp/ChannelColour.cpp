#include "dsp/ChannelColour.h"

#include <array>

namespace orvane {

namespace {

constexpr std::array<ChannelColour, kChannels> kInputColours{{
    {0, 255, 255},
    {223, 18, 123},
    {2, 123, 192},
    {255, 255, 0},
    {255, 102, 102},
    {153, 0, 153},
    {153, 255, 0},
    {255, 153, 204},
}};

constexpr std::array<ChannelColour, kChannels> kOutputColours{{
    {255, 0, 0},
    {0, 192, 0},
    {128, 128, 192},
    {255, 64, 255},
    {0, 192, 192},
    {192, 168, 0},
    {125, 128, 0},
    {0, 0, 255},
}};

}  // namespace

ChannelColour ChannelColour::of(Side side, int channel) {
  const auto& table = side == Side::Input ? kInputColours : kOutputColours;
  return table.at(static_cast<std::size_t>(channel));
}

}  // namespace orvane
