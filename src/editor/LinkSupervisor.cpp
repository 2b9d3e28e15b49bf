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

void LinkSupervisor::run() {
  do {
    if (state() == State::Open) continue;
    std::lock_guard lock(sessionMutex_);
    if (state_ == State::Open) report(Change{State::Lost, {}, session_.loss()});
    // A lost link, and one whose open failed part way, are closed before
    // the next open: the link cannot be opened while it still is.
    session_.close();
    state_ = State::Connecting;
    std::optional<LinkEvent> failure = session_.openLink(target_, kOpenLimit);
    std::string error = failure ? failure->text() : std::string();
    state_ = failure ? State::Lost : State::Open;
    if (!stop_.isSet()) report(Change{state_, std::move(error), std::move(failure)});
  } while (!stop_.wait(kRetry));
}

void LinkSupervisor::report(const Change& change) {
  if (retry_.change(change.state, change.error) && report_) report_(change);
}

}  // namespace orvane::editor
