#pragma once

// The link machinery one transport works with, without the worker: for
// tests that drive a transport by hand and look at what reached the image.

#include "model/ParameterImage.h"
#include "platform/Event.h"
#include "platform/Timings.h"
#include "protocol/LinkSlot.h"
#include "protocol/ReplyDispatcher.h"
#include "protocol/WorkerEvents.h"
#include "support/RecordingNotifier.h"
#include "support/TestLinkHooks.h"
#include "transport/LinkContext.h"

namespace orvane {

struct LinkParts {
  ParameterImage image;
  RecordingNotifier notifier;
  WorkerEvents events;
  LevelRequest levels;
  ConnectionCheck check;
  ReplyDispatcher dispatcher{image, notifier, events, levels, check};
  LinkSlot slot;
  Event replyEvent;
  Timings timings;
  TestLinkHooks hooks{check};

  LinkContext context() { return LinkContext{slot, dispatcher, replyEvent, notifier, timings, hooks}; }
};

}  // namespace orvane
