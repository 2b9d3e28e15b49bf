#pragma once

// A Notifier that records what the core reported, for tests. Thread-safe: the
// worker and transport threads post while the test thread inspects.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/Notifier.h"

namespace orvane {

struct PostedMessage {
  Message message;
  std::intptr_t wParam;
  std::intptr_t lParam;
};

class RecordingNotifier : public Notifier {
 public:
  void post(Message message, std::intptr_t wParam, std::intptr_t lParam) override;
  void setProgressRange(int lower, int upper) override;
  void setProgress(int position) override;
  void setIdSearchProgress(int position) override;
  void setTransferInProgress(bool inProgress) override;
  void idSearchEnded() override;
  void portWarning(const std::string& text) override;

  std::vector<PostedMessage> messages() const;
  std::vector<int> progress() const;
  // The last range of the main progress bar.
  std::pair<int, int> progressRange() const;
  std::vector<int> idSearchProgress() const;
  std::vector<bool> transferStates() const;
  int idSearchEndings() const;
  std::vector<std::string> warnings() const;
  int count(Message message) const;
  // Waits until `message` was posted at least `times` times.
  bool waitFor(Message message, int times = 1,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
  void clear();

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<PostedMessage> messages_;
  std::vector<int> progress_;
  std::vector<int> idProgress_;
  std::vector<bool> transfer_;
  int idSearchEndings_ = 0;
  std::vector<std::string> warnings_;
  std::pair<int, int> range_{0, 0};
};

}  // namespace orvane
