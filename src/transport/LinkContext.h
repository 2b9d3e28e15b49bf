#pragma once

#include "platform/Event.h"
#include "platform/Notifier.h"
#include "platform/Timings.h"
#include "protocol/LinkSlot.h"
#include "protocol/ReplySink.h"
#include "transport/LinkHooks.h"

namespace orvane {

// What a transport shares with the rest of the link machinery: its slot, the
// dispatcher for completed replies, the event that ends the worker's wait,
// the notifier for a lost link, the timing settings and the hooks of the
// link's driver.
struct LinkContext {
  LinkSlot& slot;
  ReplySink& dispatcher;
  Event& replyEvent;
  Notifier& notifier;
  const Timings& timings;
  LinkHooks& hooks;
};

}  // namespace orvane
