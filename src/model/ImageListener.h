#pragma once

#include "model/BlockLayout.h"

namespace orvane {

// Told when the image rewrites a channel block wholesale (initialisation,
// disconnect reset, restore from the device copy, a copy between channels),
// so that whatever models the channel (its filter models) can follow.
// Called on the thread that changed the image, after the image lock is
// released; implementations must not block.
class ImageListener {
 public:
  virtual ~ImageListener() = default;
  virtual void channelReloaded(Side side, int channel) = 0;
  virtual void channelCopied(Side side, int source, int destination) = 0;
};

}  // namespace orvane
