#pragma once

// What the core reports to an editor without a window: the messages are counted
// as they arrive from the worker and transport threads, and the session
// looks at the counts while it waits. Progress and the transfer state are of no use
// without a window and are dropped; port warnings are kept for the user.

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Notifier.h"

namespace orvane::editor {

class CountingNotifier : public Notifier {
 public:
  void post(Message message, std::intptr_t wParam, std::intptr_t lParam) override;
  void setProgressRange(int, int) override {}
  void setProgress(int) override {}
  void setIdSearchProgress(int) override {}
  void setTransferInProgress(bool) override {}
  void idSearchEnded() override {}
  void portWarning(const std::string& text) override;

  // How often `message` arrived so far.
  int count(Message message) const;
  // The kind of the lost-link report (the network operation it ended), -1
  // while the link was never reported lost.
  int lostKind() const;
  std::vector<std::string> warnings() const;

 private:
  static std::size_t slot(Message message);

  mutable std::mutex mutex_;
  std::array<int, 8> counts_{};  // by message, in the order of Message
  int lostKind_ = -1;
  std::vector<std::string> warnings_;
};

}  // namespace orvane::editor
