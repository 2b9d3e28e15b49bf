#pragma once

// What the device link tells the bridge: that it was lost, and the warnings
// of a port set-up step that failed. The rest concerns an editor's window.

#include "bridge/BridgeLog.h"
#include "platform/Event.h"
#include "platform/QuietNotifier.h"

namespace orvane {

class RelayNotifier : public QuietNotifier {
 public:
  explicit RelayNotifier(BridgeLog& log) : log_(log) {}

  void post(Message message, std::intptr_t, std::intptr_t) override {
    if (message == Message::LinkLost) lost_.set();
  }
  void portWarning(const std::string& text) override { log_.write("device port: " + text); }

  Event& lost() { return lost_; }

 private:
  BridgeLog& log_;
  Event lost_;
};

}  // namespace orvane
