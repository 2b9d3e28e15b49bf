#pragma once

// What a transport asks of the machinery that drives its link, on the
// transport's own thread: whether a new link's connection check is still
// pending, the end of an ID search when the port fails, and the next frame
// as soon as a reply was taken, so that the transport can go on without
// handing the link back and forth for every exchange. Every call is safe from any
// thread.

#include "model/ConnectionState.h"

namespace orvane {

class LinkHooks {
 public:
  virtual ~LinkHooks() = default;

  // The check of a new connection awaits its answer.
  virtual bool connectionCheckPending() const = 0;
  // The port failed: ends a search of the bus for device IDs; true when
  // one was running.
  virtual bool endIdSearch() = 0;
  // The reply to the frame in flight on `link` was taken. True when the
  // driver has put its next frame into the transmit frame, for the
  // transport to send at once; false hands the link back to the driver.
  virtual bool carryPass(LinkType link) = 0;
};

}  // namespace orvane
