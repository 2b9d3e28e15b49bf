#include "editor/LinkSupervisor.h"

namespace orvane::editor {

LinkSupervisor::LinkSupervisor(EditorSession& session, std::mutex& sessionMutex, ConnectTarget target,
                               Report report)
    : session_(session),
      sessionMutex_(sessionMutex),
      target_(std::move(target)),
      report_(std::move(report)) {}

LinkSupervisor::~LinkSupervisor() {
  finish();
}

void LinkSupervisor::start() {
  thread_ = std::thread([this] { run(); });
}

void LinkSupervisor::stop() {
  stop_.set();
  session_.cancel();
}

void LinkSupervisor::finish() {
  stop();
  if (thread_.joinable()) thread_.join();
}

LinkSupervisor::State LinkSupervisor::state() const {
  const State state = state_;
  return state == State::Open && session_.linkLost() ? State::Lost : state;
}

std::string LinkSupervisor::lastError() {
  std::unique_lock lock(sessionMutex_, std::try_to_lock);
  return lock.owns_lock() ? lastError_ : std::string();
}

void LinkSupervisor::run() {
  do {
    if (state() == State::Open) continue;
    if (state_ == State::Open) report(State::Lost, {});
    std::lock_guard lock(sessionMutex_);
    // A lost link, and one whose open failed part way, are closed before
    // the next open: the link cannot be opened while it still is.
    session_.close();
    state_ = State::Connecting;
    lastError_ = session_.open(target_, kOpenLimit);
    state_ = lastError_.empty() ? State::Open : State::Lost;
    if (!stop_.isSet()) report(state_, lastError_);
  } while (!stop_.wait(kRetry));
}

void LinkSupervisor::report(State state, const std::string& error) {
  if (state == reported_.state && error == reported_.error) return;
  reported_ = Change{state, error};
  if (report_) report_(reported_);
}

}  // namespace orvane::editor
