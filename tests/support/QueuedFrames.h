#pragma once

#include <vector>

#include "link/Command.h"
#include "protocol/SendData.h"

namespace orvane {

// The frames waiting in `command`'s queue, taken out in order. Tests whose
// command runs no worker read what an action queued this way.
inline std::vector<SendData> takeQueuedFrames(Command& command) {
  std::vector<SendData> frames;
  for (SendData frame; command.queue().takeNext(frame);) frames.push_back(frame);
  return frames;
}

}  // namespace orvane
