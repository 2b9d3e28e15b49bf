#pragma once

// Where a link slot hands each completed reply: the editor's dispatcher,
// which carries it into the image, or a relay that passes it on unchanged.
// Called on the transport's thread with the slot locked.

#include "protocol/SendData.h"

namespace orvane {

class ReplySink {
 public:
  virtual ~ReplySink() = default;

  // True when the reply is accepted: the exchange with `inFlight` is over.
  // False when it is bad and the transport must re-send.
  virtual bool dispatch(const SendData& reply, const SendData& inFlight) = 0;
};

}  // namespace orvane
