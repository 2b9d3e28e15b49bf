#pragma once

// The transmit and receive frame of one link. The worker fills the transmit
// frame between exchanges; the link's transport thread writes it, assembles
// the reply in the receive frame and dispatches it. A small lock keeps the
// two threads from ever touching the frames at the same time.

#include <mutex>
#include <span>

#include "protocol/ReplySink.h"
#include "protocol/SendData.h"

namespace orvane {

class LinkSlot {
 public:
  // Feeds received bytes into the receive frame. Returns true when these
  // bytes completed a frame, good or bad (then `rxBad` tells); the rest of
  // the bytes after a completed frame are discarded. A good frame retires
  // the frame in flight.
  bool parse(std::span<const std::uint8_t> bytes, ReplySink& sink);

  // Empties the receive frame and, with `alsoTransmit`, retires the frame in
  // flight (its header bytes stay).
  void clear(bool alsoTransmit);

  // Runs `f(transmit, receive)` with the slot locked.
  template <class F>
  decltype(auto) withFrames(F&& f) {
    std::lock_guard lock(mutex_);
    return std::forward<F>(f)(transmit_, receive_);
  }

 private:
  std::size_t storeRun(std::span<const std::uint8_t> bytes);
  bool feed(std::uint8_t byte);
  void clearLocked(bool alsoTransmit);

  std::mutex mutex_;
  SendData transmit_;
  SendData receive_;
};

}  // namespace orvane
