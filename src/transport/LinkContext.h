#pragma once

#include "platform/Event.h"
#include "platform/Notifier.h"
#include "platform/Timings.h"
#include "protocol/LinkSlot.h"
#include "protocol/ReplySink.h"

namespace orvane {

// What a transport shares with the rest of the link machinery: its slot, the
// dispatcher for completed replies, the event that ends the worker's wait,
// the notifier for a lost link and the timing settings.
struct LinkContext {
  LinkSlot& slot;
  ReplySink& dispatcher;
  Event& replyEvent;
  Notifier& notifier;
  const Timings& timings;
};

}  // namespace orvane
