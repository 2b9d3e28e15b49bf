#include "editor/CountingNotifier.h"

#include <algorithm>

namespace orvane::editor {

namespace {

// In the order of the counts.
constexpr std::array kMessages{Message::GraphChanged,    Message::ChannelDataRead,
                               Message::AllProgramsRead, Message::LinkLost,
                               Message::LevelsRead,      Message::NetworkOperationDone,
                               Message::SetupLinkLost,   Message::FirmwareVersionRead};

}  // namespace

std::size_t CountingNotifier::slot(Message message) {
  return static_cast<std::size_t>(std::ranges::find(kMessages, message) - kMessages.begin()) %
         kMessages.size();
}

void CountingNotifier::post(Message message, std::intptr_t wParam, std::intptr_t lParam) {
  {
    std::lock_guard lock(mutex_);
    ++counts_[slot(message)];
    if (message == Message::LinkLost) lostKind_ = static_cast<int>(lParam);
  }
  arrived_.notify_all();
  if (next_) next_->post(message, wParam, lParam);
}

void CountingNotifier::setProgressRange(int lower, int upper) {
  if (next_) next_->setProgressRange(lower, upper);
}

void CountingNotifier::setProgress(int position) {
  if (next_) next_->setProgress(position);
}

void CountingNotifier::setIdSearchProgress(int position) {
  if (next_) next_->setIdSearchProgress(position);
}

void CountingNotifier::setTransferInProgress(bool inProgress) {
  if (next_) next_->setTransferInProgress(inProgress);
}

void CountingNotifier::idSearchEnded() {
  if (next_) next_->idSearchEnded();
}

void CountingNotifier::portWarning(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    warnings_.push_back(text);
  }
  if (next_) next_->portWarning(text);
}

int CountingNotifier::count(Message message) const {
  std::lock_guard lock(mutex_);
  return counts_[slot(message)];
}

bool CountingNotifier::waitFor(Message message, int count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return counts_[slot(message)] >= count; });
}

int CountingNotifier::lostKind() const {
  std::lock_guard lock(mutex_);
  return lostKind_;
}

std::vector<std::string> CountingNotifier::warnings() const {
  std::lock_guard lock(mutex_);
  return warnings_;
}

}  // namespace orvane::editor
