#include "support/RecordingNotifier.h"

#include <algorithm>

namespace orvane {

void RecordingNotifier::post(Message message, std::intptr_t wParam, std::intptr_t lParam) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back({message, wParam, lParam});
  }
  changed_.notify_all();
}

void RecordingNotifier::setProgressRange(int lower, int upper) {
  std::lock_guard lock(mutex_);
  range_ = {lower, upper};
}

std::pair<int, int> RecordingNotifier::progressRange() const {
  std::lock_guard lock(mutex_);
  return range_;
}

void RecordingNotifier::setProgress(int position) {
  std::lock_guard lock(mutex_);
  progress_.push_back(position);
}

void RecordingNotifier::setIdSearchProgress(int position) {
  std::lock_guard lock(mutex_);
  idProgress_.push_back(position);
}

void RecordingNotifier::setTransferInProgress(bool inProgress) {
  {
    std::lock_guard lock(mutex_);
    transfer_.push_back(inProgress);
  }
  changed_.notify_all();
}

void RecordingNotifier::idSearchEnded() {
  std::lock_guard lock(mutex_);
  ++idSearchEndings_;
}

void RecordingNotifier::portWarning(const std::string& text) {
  std::lock_guard lock(mutex_);
  warnings_.push_back(text);
}

int RecordingNotifier::idSearchEndings() const {
  std::lock_guard lock(mutex_);
  return idSearchEndings_;
}

std::vector<std::string> RecordingNotifier::warnings() const {
  std::lock_guard lock(mutex_);
  return warnings_;
}

std::vector<PostedMessage> RecordingNotifier::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<int> RecordingNotifier::progress() const {
  std::lock_guard lock(mutex_);
  return progress_;
}

std::vector<int> RecordingNotifier::idSearchProgress() const {
  std::lock_guard lock(mutex_);
  return idProgress_;
}

std::vector<bool> RecordingNotifier::transferStates() const {
  std::lock_guard lock(mutex_);
  return transfer_;
}

int RecordingNotifier::count(Message message) const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(messages_.begin(), messages_.end(),
                                        [&](const PostedMessage& m) { return m.message == message; }));
}

bool RecordingNotifier::waitFor(Message message, int times, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] {
    return std::count_if(messages_.begin(), messages_.end(),
                         [&](const PostedMessage& m) { return m.message == message; }) >= times;
  });
}

void RecordingNotifier::clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
  progress_.clear();
  idProgress_.clear();
  transfer_.clear();
  idSearchEndings_ = 0;
  warnings_.clear();
}

}  // namespace orvane
