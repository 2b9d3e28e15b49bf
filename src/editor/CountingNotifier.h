#pragma once

// What the core reports to an editor session: the messages are counted as
// they arrive from the worker and transport threads, and the session looks
// at the counts while it waits; port warnings are kept for the user. Every
// report then goes on to the notifier of the session's user, if it has one
// (the editor's window); without one, progress and the transfer state are
// of no use and are dropped. One that follows several sessions at once
// gives each the same counting notifier to report to next, and waits on
// that one for what any of them reports.

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Notifier.h"

namespace orvane::editor {

class CountingNotifier : public Notifier {
 public:
  // `next`, if any, hears every report after it was counted.
  explicit CountingNotifier(Notifier* next = nullptr) : next_(next) {}

  void post(Message message, std::intptr_t wParam, std::intptr_t lParam) override;
  void setProgressRange(int lower, int upper) override;
  void setProgress(int position) override;
  void setIdSearchProgress(int position) override;
  void setTransferInProgress(bool inProgress) override;
  void idSearchEnded() override;
  void portWarning(const std::string& text) override;

  // How often `message` arrived so far.
  int count(Message message) const;
  // Waits until `message` arrived `count` times in all; false when
  // `timeout` passed first. Any thread may wait.
  bool waitFor(Message message, int count, std::chrono::milliseconds timeout) const;
  // The kind of the lost-link report (the network operation it ended), -1
  // while the link was never reported lost.
  int lostKind() const;
  std::vector<std::string> warnings() const;

 private:
  static std::size_t slot(Message message);

  Notifier* next_;
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;  // a message was counted
  std::array<int, 8> counts_{};              // by message, in the order of Message
  int lostKind_ = -1;
  std::vector<std::string> warnings_;
};

}  // namespace orvane::editor
