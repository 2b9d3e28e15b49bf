#pragma once

// A notifier for targets that run the core without a user interface: every
// message is dropped too.

#include "platform/QuietNotifier.h"

namespace orvane::fuzz {

class NullNotifier : public QuietNotifier {
 public:
  void post(Message, std::intptr_t, std::intptr_t) override {}
};

}  // namespace orvane::fuzz
