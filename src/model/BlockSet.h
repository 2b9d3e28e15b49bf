#pragma once

#include "model/BlockLayout.h"

namespace orvane {

// Sixteen channel blocks: the eight inputs and eight outputs of one device
// state (the edited image, or the device copy).
struct BlockSet {
  std::array<InputBlock, kChannels> inputs{};
  std::array<OutputBlock, kChannels> outputs{};

  std::span<std::uint8_t> block(Side side, int channel) {
    if (side == Side::Input) return inputs.at(static_cast<std::size_t>(channel));
    return outputs.at(static_cast<std::size_t>(channel));
  }
  std::span<const std::uint8_t> block(Side side, int channel) const {
    if (side == Side::Input) return inputs.at(static_cast<std::size_t>(channel));
    return outputs.at(static_cast<std::size_t>(channel));
  }
  std::span<std::uint8_t> row(Side side, int channel, int row) {
    return block(side, channel).subspan(static_cast<std::size_t>(row) * kRowBytes, kRowBytes);
  }
  std::span<const std::uint8_t> row(Side side, int channel, int row) const {
    return block(side, channel).subspan(static_cast<std::size_t>(row) * kRowBytes, kRowBytes);
  }

  friend bool operator==(const BlockSet&, const BlockSet&) = default;
};

}  // namespace orvane
