#pragma once

// A notifier for code that runs the core without a user interface and
// waits for posted messages only: progress, transfer state and warnings are
// dropped.

#include <string>

#include "platform/Notifier.h"

namespace orvane {

class QuietNotifier : public Notifier {
 public:
  void setProgressRange(int, int) override {}
  void setProgress(int) override {}
  void setIdSearchProgress(int) override {}
  void setTransferInProgress(bool) override {}
  void idSearchEnded() override {}
  void portWarning(const std::string&) override {}
};

}  // namespace orvane
